#include "render/glyphs.h"

#include <array>

namespace {

constexpr int GlyphWidth = 13;
constexpr int GlyphHeight = 23;

// One line of a segment: for a horizontal segment the row `at` from column
// `from` to `to`, for an upright one the column `at` from row `from` to `to`,
// both ends included.
struct SegmentLine {
    int at;
    int from;
    int to;
};

struct Segment {
    bool upright;
    SegmentLine lines[3];
};

enum SegmentName { Top, Middle, Bottom, UpperLeft, UpperRight, LowerLeft, LowerRight, SegmentCount };

// The whole artwork: where each segment lies, and which segments light up
// for each digit. Everything else is derived from these two tables.
constexpr Segment Segments[SegmentCount] = {
    {false, {{1, 2, 10}, {2, 3, 9}, {3, 4, 8}}},       // top
    {false, {{10, 3, 9}, {11, 2, 10}, {12, 3, 9}}},    // middle
    {false, {{19, 4, 8}, {20, 3, 9}, {21, 2, 10}}},    // bottom
    {true, {{1, 2, 10}, {2, 3, 9}, {3, 4, 8}}},        // upper left
    {true, {{11, 2, 10}, {10, 3, 9}, {9, 4, 8}}},      // upper right
    {true, {{1, 12, 20}, {2, 13, 19}, {3, 14, 18}}},   // lower left
    {true, {{11, 12, 20}, {10, 13, 19}, {9, 14, 18}}}, // lower right
};

constexpr unsigned Bit(SegmentName segment) { return 1u << segment; }

constexpr unsigned LitSegments[10] = {
    Bit(Top) | Bit(UpperLeft) | Bit(UpperRight) | Bit(LowerLeft) | Bit(LowerRight) | Bit(Bottom),
    Bit(UpperRight) | Bit(LowerRight),
    Bit(Top) | Bit(UpperRight) | Bit(Middle) | Bit(LowerLeft) | Bit(Bottom),
    Bit(Top) | Bit(UpperRight) | Bit(Middle) | Bit(LowerRight) | Bit(Bottom),
    Bit(UpperLeft) | Bit(UpperRight) | Bit(Middle) | Bit(LowerRight),
    Bit(Top) | Bit(UpperLeft) | Bit(Middle) | Bit(LowerRight) | Bit(Bottom),
    Bit(Top) | Bit(UpperLeft) | Bit(Middle) | Bit(LowerLeft) | Bit(LowerRight) | Bit(Bottom),
    Bit(Top) | Bit(UpperRight) | Bit(LowerRight),
    Bit(Top) | Bit(Middle) | Bit(Bottom) | Bit(UpperLeft) | Bit(UpperRight) | Bit(LowerLeft) | Bit(LowerRight),
    Bit(Top) | Bit(UpperLeft) | Bit(UpperRight) | Bit(Middle) | Bit(LowerRight) | Bit(Bottom),
};

constexpr bool SegmentCovers(const Segment& segment, int x, int y) {
    const int along = segment.upright ? y : x;
    const int across = segment.upright ? x : y;
    for (const SegmentLine& line : segment.lines) {
        if (across == line.at && along >= line.from && along <= line.to) return true;
    }
    return false;
}

// An unlit segment shows as a faint checker, offset between the horizontal
// and the upright segments so that they meet without a solid seam.
constexpr Colour PixelColour(int digit, int x, int y) {
    for (int s = 0; s < SegmentCount; ++s) {
        const Segment& segment = Segments[s];
        if (!SegmentCovers(segment, x, y)) continue;
        if ((LitSegments[digit] >> s) & 1u) return GlyphLit;
        const bool even = (x + y) % 2 == 0;
        return even != segment.upright ? GlyphUnlit : GlyphBlack;
    }
    return GlyphBlack;
}

using GlyphImages = std::array<std::array<std::array<Colour, GlyphWidth>, GlyphHeight>, 10>;

// Worked out by the compiler, so that drawing a digit is a plain lookup.
constexpr GlyphImages BuildGlyphImages() {
    GlyphImages images{};
    for (int digit = 0; digit < 10; ++digit) {
        for (int y = 0; y < GlyphHeight; ++y) {
            for (int x = 0; x < GlyphWidth; ++x) images[digit][y][x] = PixelColour(digit, x, y);
        }
    }
    return images;
}

constexpr GlyphImages Glyphs = BuildGlyphImages();

}  // namespace

Colour DigitGlyphPixel(int digit, int x, int y) {
    if (digit < 0 || digit > 9 || x < 0 || x >= GlyphWidth || y < 0 || y >= GlyphHeight) return GlyphBlack;
    return Glyphs[digit][y][x];
}
