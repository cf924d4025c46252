// Writes the program's icon files from their one description: the ten digit
// glyphs (render/glyphs.cpp) and the application icon (resources/icon_art.cpp).
// Runs on the build host; the resource script then embeds the files. The
// application icon's largest image, 256 x 256, is stored as a PNG, as
// Windows takes it at that size.
//   make_icons <output directory>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/glyphs.h"
#include "resources/icon_art.h"
#include "tools/png_file.h"

namespace {

// The standard 16 colours as 0x00BBGGRR, in their usual palette order.
constexpr uint32_t StandardColours[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

constexpr int PngImageSize = 256;

// One image of an icon: size x size colours and where they are opaque.
struct IconImage {
    int size;
    // 4 or 8: the standard colours, which the art keeps to; or 32: the
    // colours themselves, with the mask as the alpha channel too.
    int bitsPerPixel;
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> opaque;
};

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// The art must keep to the palette: a glyph that came out in another shade
// would no longer match the software surface pixel for pixel.
bool PaletteIndex(uint32_t colour, int& index) {
    for (int i = 0; i < 16; ++i) {
        if (StandardColours[i] == colour) {
            index = i;
            return true;
        }
    }
    return false;
}

int RowBytes(int size, int bitsPerPixel) { return ((size * bitsPerPixel + 31) / 32) * 4; }

bool EncodePngImage(const IconImage& image, std::vector<uint8_t>& out) {
    std::string error;
    if (EncodePng({image.pixels.data(), image.size, image.size, image.opaque.data()}, out, error)) return true;
    std::fprintf(stderr, "make_icons: cannot encode the %d px image: %s\n", image.size, error.c_str());
    return false;
}

// Blue, green, red and alpha.
void PutTrueColour(std::vector<uint8_t>& row, uint32_t colour, bool opaque) {
    row.push_back(static_cast<uint8_t>(colour >> 16));
    row.push_back(static_cast<uint8_t>(colour >> 8));
    row.push_back(static_cast<uint8_t>(colour));
    row.push_back(opaque ? 255 : 0);
}

// The image as stored in an icon file: a bitmap header of double height, the
// palette, the colour rows and the transparency mask rows, both bottom-up.
bool EncodeImage(const IconImage& image, std::vector<uint8_t>& out) {
    if (image.size == PngImageSize) return EncodePngImage(image, out);
    const int size = image.size;
    const int colours = image.bitsPerPixel <= 8 ? 1 << image.bitsPerPixel : 0;
    const int colourRow = RowBytes(size, image.bitsPerPixel);
    const int maskRow = RowBytes(size, 1);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(size));
    PutU32(out, static_cast<uint32_t>(size * 2));
    PutU16(out, 1);
    PutU16(out, static_cast<uint32_t>(image.bitsPerPixel));
    PutU32(out, 0);
    PutU32(out, static_cast<uint32_t>((colourRow + maskRow) * size));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int i = 0; i < colours; ++i) {
        const uint32_t colour = i < 16 ? StandardColours[i] : 0;
        out.push_back(static_cast<uint8_t>(colour >> 16));  // blue
        out.push_back(static_cast<uint8_t>(colour >> 8));   // green
        out.push_back(static_cast<uint8_t>(colour));        // red
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0 && image.bitsPerPixel == 32; --y) {
        for (int x = 0; x < size; ++x) {
            const size_t at = static_cast<size_t>(y * size + x);
            PutTrueColour(out, image.pixels[at], image.opaque[at] != 0);
        }
    }
    for (int y = size - 1; y >= 0 && image.bitsPerPixel <= 8; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(colourRow), 0);
        for (int x = 0; x < size; ++x) {
            int index = 0;
            const size_t at = static_cast<size_t>(y * size + x);
            if (image.opaque[at] && !PaletteIndex(image.pixels[at], index)) {
                std::fprintf(stderr, "make_icons: colour %06X is not one of the 16 standard colours\n",
                             static_cast<unsigned>(image.pixels[at]));
                return false;
            }
            if (image.bitsPerPixel == 8) {
                row[static_cast<size_t>(x)] = static_cast<uint8_t>(index);
            } else {
                row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
        for (int x = 0; x < size; ++x) {
            if (!image.opaque[static_cast<size_t>(y * size + x)]) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return true;
}

bool WriteIconFile(const std::string& path, const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> encoded(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        if (!EncodeImage(images[i], encoded[i])) return false;
    }
    std::vector<uint8_t> file;
    PutU16(file, 0);
    PutU16(file, 1);
    PutU16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        file.push_back(static_cast<uint8_t>(image.size == 256 ? 0 : image.size));
        file.push_back(static_cast<uint8_t>(image.size == 256 ? 0 : image.size));
        file.push_back(static_cast<uint8_t>(image.bitsPerPixel == 4 ? 16 : 0));
        file.push_back(0);
        PutU16(file, 1);
        PutU16(file, static_cast<uint32_t>(image.bitsPerPixel));
        PutU32(file, static_cast<uint32_t>(encoded[i].size()));
        PutU32(file, offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const std::vector<uint8_t>& bytes : encoded) file.insert(file.end(), bytes.begin(), bytes.end());

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// A 32 x 32 image whose top-left 13 x 23 pixels are the glyph and the rest
// transparent.
IconImage DigitImage(int digit) {
    IconImage image{GlyphImageSize, 4, std::vector<uint32_t>(GlyphImageSize * GlyphImageSize, 0),
                    std::vector<uint8_t>(GlyphImageSize * GlyphImageSize, 0)};
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 13; ++x) {
            image.pixels[static_cast<size_t>(y * GlyphImageSize + x)] = DigitGlyphPixel(digit, x, y);
            image.opaque[static_cast<size_t>(y * GlyphImageSize + x)] = 1;
        }
    }
    return image;
}

IconImage ApplicationImage(int size, int bitsPerPixel) {
    IconImage image{size, bitsPerPixel, std::vector<uint32_t>(static_cast<size_t>(size * size)),
                    std::vector<uint8_t>(static_cast<size_t>(size * size))};
    RenderApplicationIcon(size, image.pixels.data(), image.opaque.data());
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <output directory>\n");
        return 2;
    }
    const std::string directory = argv[1];
    // The four images the icon began with, then the larger ones that keep it
    // sharp in Explorer's large views, the Start menu and dense taskbars.
    const std::vector<IconImage> application = {ApplicationImage(32, 4), ApplicationImage(16, 4),
                                                 ApplicationImage(32, 8), ApplicationImage(48, 8),
                                                 ApplicationImage(64, 32), ApplicationImage(PngImageSize, 32)};
    if (!WriteIconFile(directory + "/application.ico", application)) return 1;
    for (int digit = 0; digit < 10; ++digit) {
        if (!WriteIconFile(directory + "/digit_" + std::to_string(digit) + ".ico", {DigitImage(digit)})) return 1;
    }
    return 0;
}
