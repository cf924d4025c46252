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

namespace {

constexpr int ScaledFrom = 32;
constexpr int LargestSize = 512;

bool IsDrawnSize(int size) { return size == 16 || size == 32 || size == 48; }

bool IsScaledSize(int size) { return size > ScaledFrom && size <= LargestSize && size % ScaledFrom == 0; }

struct Icon {
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> opaque;
};

Icon BlankIcon(int size) {
    const size_t count = static_cast<size_t>(size) * size;
    return {std::vector<uint32_t>(count), std::vector<uint8_t>(count)};
}

Icon DrawnIcon(int size) {
    Icon icon = BlankIcon(size);
    RenderApplicationIcon(size, icon.pixels.data(), icon.opaque.data());
    return icon;
}

// Nearest neighbour by a whole factor: no pixel is blended with another.
Icon ScaledIcon(int size) {
    const Icon art = DrawnIcon(ScaledFrom);
    const int factor = size / ScaledFrom;
    Icon icon = BlankIcon(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const size_t from = static_cast<size_t>(y / factor) * ScaledFrom + x / factor;
            icon.pixels[static_cast<size_t>(y) * size + x] = art.pixels[from];
            icon.opaque[static_cast<size_t>(y) * size + x] = art.opaque[from];
        }
    }
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon_png <size> <output.png>\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (!IsDrawnSize(size) && !IsScaledSize(size)) {
        std::fprintf(stderr, "icon_png: the icon comes in 16, 32 and 48 pixels and in multiples of 32 up to 512, not %s\n",
                     argv[1]);
        return 2;
    }
    const Icon icon = IsDrawnSize(size) ? DrawnIcon(size) : ScaledIcon(size);

    std::string error;
    if (!WritePng(argv[2], {icon.pixels.data(), size, size, icon.opaque.data()}, error)) {
        std::fprintf(stderr, "icon_png: cannot write %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    return 0;
}
