#include "tools/png_file.h"

#include <png.h>

namespace {

bool HasPixels(const PngPixels& image, std::string& error) {
    if (image.pixels != nullptr && image.width > 0 && image.height > 0) return true;
    error = "the image has no pixels";
    return false;
}

// The image as libpng's simplified API takes it: RGB, or RGBA with a mask.
png_image Header(const PngPixels& image) {
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    header.width = static_cast<png_uint_32>(image.width);
    header.height = static_cast<png_uint_32>(image.height);
    header.format = image.opaque != nullptr ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    return header;
}

std::vector<png_byte> Channels(const PngPixels& image) {
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
    return bytes;
}

}  // namespace

// libpng's simplified API reports failures through its return value, so no
// setjmp crosses the C++ code here.
bool WritePng(const char* path, const PngPixels& image, std::string& error) {
    if (!HasPixels(image, error)) return false;
    const std::vector<png_byte> bytes = Channels(image);
    png_image header = Header(image);
    const bool written = png_image_write_to_file(&header, path, 0, bytes.data(), 0, nullptr) != 0;
    if (!written) error = header.message;
    png_image_free(&header);
    return written;
}

// Asked once for the size, then written into a buffer of that size.
bool EncodePng(const PngPixels& image, std::vector<uint8_t>& encoded, std::string& error) {
    if (!HasPixels(image, error)) return false;
    const std::vector<png_byte> bytes = Channels(image);
    png_image header = Header(image);
    png_alloc_size_t size = 0;
    bool written = png_image_write_to_memory(&header, nullptr, &size, 0, bytes.data(), 0, nullptr) != 0;
    if (written) {
        encoded.resize(size);
        written = png_image_write_to_memory(&header, encoded.data(), &size, 0, bytes.data(), 0, nullptr) != 0;
        encoded.resize(size);
    }
    if (!written) error = header.message;
    png_image_free(&header);
    return written;
}
