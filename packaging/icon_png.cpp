// Writes the application icon at one size as a PNG with transparency, for
// the Linux desktop and the web app: icon_png <size> <output.png>. 16, 32
// and 48 pixels are drawn as such; larger sizes, multiples of 32, are the
// 32-pixel artwork with every pixel a whole square, as the game's pixels are.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/icon_art.h"
#include "tools/png_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon_png <size> <output.png>\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (!IsIconSize(size)) {
        std::fprintf(stderr, "icon_png: the icon comes in 16, 32 and 48 pixels and in multiples of 32 up to 512, not %s\n",
                     argv[1]);
        return 2;
    }
    const size_t count = static_cast<size_t>(size) * size;
    std::vector<uint32_t> pixels(count);
    std::vector<uint8_t> opaque(count);
    RenderApplicationIcon(size, pixels.data(), opaque.data());

    std::string error;
    if (!WritePng(argv[2], {pixels.data(), size, size, opaque.data()}, error)) {
        std::fprintf(stderr, "icon_png: cannot write %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    return 0;
}
