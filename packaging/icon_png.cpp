// Writes the application icon at one size as a PNG with transparency, for
// the Linux desktop: icon_png <size> <output.png>.

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/icon_art.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon_png <16|32|48> <output.png>\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size != 16 && size != 32 && size != 48) {
        std::fprintf(stderr, "icon_png: the icon comes in 16, 32 and 48 pixels, not %s\n", argv[1]);
        return 2;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
    std::vector<uint8_t> opaque(static_cast<size_t>(size) * size);
    RenderApplicationIcon(size, pixels.data(), opaque.data());

    FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::fprintf(stderr, "icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(size) * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y) * size + x;
            row[x * 4] = static_cast<png_byte>(pixels[i] & 0xFF);
            row[x * 4 + 1] = static_cast<png_byte>((pixels[i] >> 8) & 0xFF);
            row[x * 4 + 2] = static_cast<png_byte>((pixels[i] >> 16) & 0xFF);
            row[x * 4 + 3] = opaque[i] ? 255 : 0;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
