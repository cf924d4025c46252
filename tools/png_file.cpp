#include "tools/png_file.h"

#include <png.h>

#include <vector>

// libpng's simplified API reports failures through its return value, so no
// setjmp crosses the C++ code here.
bool WritePng(const char* path, const PngPixels& image, std::string& error) {
    if (image.pixels == nullptr || image.width <= 0 || image.height <= 0) {
        error = "the image has no pixels";
        return false;
    }
    const int channels = image.opaque != nullptr ? 4 : 3;
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    std::vector<png_byte> bytes(count * channels);
    for (size_t i = 0; i < count; ++i) {
        png_byte* out = &bytes[i * channels];
        out[0] = static_cast<png_byte>(image.pixels[i] & 0xFF);
        out[1] = static_cast<png_byte>((image.pixels[i] >> 8) & 0xFF);
        out[2] = static_cast<png_byte>((image.pixels[i] >> 16) & 0xFF);
        if (channels == 4) out[3] = image.opaque[i] ? 255 : 0;
    }
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    header.width = static_cast<png_uint_32>(image.width);
    header.height = static_cast<png_uint_32>(image.height);
    header.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&header, path, 0, bytes.data(), 0, nullptr) != 0;
    if (!written) error = header.message;
    png_image_free(&header);
    return written;
}
