// Writes the application icon at one size as a PNG with transparency, for
// the Linux desktop: icon_png <size> <output.png>.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/icon_art.h"
#include "tools/png_file.h"

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

    std::string error;
    if (!WritePng(argv[2], {pixels.data(), size, size, opaque.data()}, error)) {
        std::fprintf(stderr, "icon_png: cannot write %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    return 0;
}
