#include <gtest/gtest.h>

#include <string>

#include "render/glyphs.h"

namespace {

// A pixel inside each segment where an unlit segment shows dark red, so lit,
// unlit and absent can all be told apart. Horizontal segments show their
// unlit pixels where x + y is even, upright ones where it is odd.
struct Probe {
    char segment;
    int x;
    int y;
};
// t top, m middle, b bottom, l upper left, r upper right, L lower left, R lower right.
constexpr Probe Probes[] = {{'t', 6, 2}, {'m', 5, 11}, {'b', 6, 20}, {'l', 2, 7},
                            {'r', 10, 7}, {'L', 2, 15}, {'R', 10, 15}};

// Which segments each digit lights, as a player reads a seven-segment display.
const char* const LitSegments[10] = {"tlrLRb", "rR", "trmLb", "trmRb", "lrmR",
                                     "tlmRb", "tlmLRb", "trR", "tmblrLR", "tlrmRb"};

TEST(DigitGlyphSegments, EachDigitLightsExactlyItsSegments) {
    for (int digit = 0; digit < 10; ++digit) {
        const std::string lit = LitSegments[digit];
        for (const Probe& probe : Probes) {
            const Colour expected = lit.find(probe.segment) != std::string::npos ? GlyphLit : GlyphUnlit;
            EXPECT_EQ(DigitGlyphPixel(digit, probe.x, probe.y), expected)
                << "digit " << digit << " segment " << probe.segment;
        }
    }
}

TEST(DigitGlyphSegments, LitSegmentIsSolidRedOverItsWholeTaperedShape) {
    // The top bar of 7: three rows, each two pixels narrower than the one above.
    for (int x = 2; x <= 10; ++x) EXPECT_EQ(DigitGlyphPixel(7, x, 1), GlyphLit) << x;
    for (int x = 3; x <= 9; ++x) EXPECT_EQ(DigitGlyphPixel(7, x, 2), GlyphLit) << x;
    for (int x = 4; x <= 8; ++x) EXPECT_EQ(DigitGlyphPixel(7, x, 3), GlyphLit) << x;
    EXPECT_EQ(DigitGlyphPixel(7, 1, 1), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(7, 11, 1), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(7, 3, 3), GlyphBlack);
    // The lower right upright of 1: x 11 rows 12..20, x 9 rows 14..18.
    for (int y = 12; y <= 20; ++y) EXPECT_EQ(DigitGlyphPixel(1, 11, y), GlyphLit) << y;
    for (int y = 14; y <= 18; ++y) EXPECT_EQ(DigitGlyphPixel(1, 9, y), GlyphLit) << y;
    EXPECT_EQ(DigitGlyphPixel(1, 9, 13), GlyphBlack);
}

TEST(DigitGlyphSegments, UnlitHorizontalSegmentIsCheckeredOnEvenPixels) {
    // The middle bar of 0 is dark: dark red where x + y is even, black where odd.
    EXPECT_EQ(DigitGlyphPixel(0, 2, 11), GlyphBlack);   // 13 odd
    EXPECT_EQ(DigitGlyphPixel(0, 3, 11), GlyphUnlit);   // 14 even
    EXPECT_EQ(DigitGlyphPixel(0, 3, 10), GlyphBlack);   // 13 odd
    EXPECT_EQ(DigitGlyphPixel(0, 4, 10), GlyphUnlit);   // 14 even
    EXPECT_EQ(DigitGlyphPixel(0, 10, 11), GlyphBlack);  // 21 odd
    EXPECT_EQ(DigitGlyphPixel(0, 9, 12), GlyphBlack);   // 21 odd
}

TEST(DigitGlyphSegments, UnlitUprightSegmentIsCheckeredOnOddPixels) {
    // The upper left upright of 1 is dark: dark red where x + y is odd.
    EXPECT_EQ(DigitGlyphPixel(1, 1, 2), GlyphUnlit);  // 3 odd
    EXPECT_EQ(DigitGlyphPixel(1, 1, 3), GlyphBlack);  // 4 even
    EXPECT_EQ(DigitGlyphPixel(1, 1, 10), GlyphUnlit); // 11 odd
    EXPECT_EQ(DigitGlyphPixel(1, 3, 4), GlyphUnlit);  // 7 odd
    EXPECT_EQ(DigitGlyphPixel(1, 3, 9), GlyphBlack);  // outside the upright's shortest line
}

TEST(DigitGlyphBackground, OuterRowsAndColumnsAreBlackForEveryDigit) {
    for (int digit = 0; digit < 10; ++digit) {
        for (int x = 0; x < 13; ++x) {
            EXPECT_EQ(DigitGlyphPixel(digit, x, 0), GlyphBlack) << digit << " x " << x;
            EXPECT_EQ(DigitGlyphPixel(digit, x, 22), GlyphBlack) << digit << " x " << x;
        }
        for (int y = 0; y < 23; ++y) {
            EXPECT_EQ(DigitGlyphPixel(digit, 0, y), GlyphBlack) << digit << " y " << y;
            EXPECT_EQ(DigitGlyphPixel(digit, 12, y), GlyphBlack) << digit << " y " << y;
        }
    }
}

TEST(DigitGlyphBackground, PixelsBetweenSegmentsAreBlackEvenInAnEight) {
    const int holes[][2] = {{6, 6}, {6, 16}, {4, 5}, {8, 17}, {1, 1}, {11, 1}, {1, 11}, {11, 21}};
    for (const auto& hole : holes) EXPECT_EQ(DigitGlyphPixel(8, hole[0], hole[1]), GlyphBlack) << hole[0] << "," << hole[1];
}

TEST(DigitGlyphBackground, EightHasExactlyTheSegmentPixelsLit) {
    // Six tapered segments of 9 + 7 + 5 pixels and the middle bar of 7 + 9 + 7.
    int lit = 0;
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 13; ++x) lit += DigitGlyphPixel(8, x, y) == GlyphLit ? 1 : 0;
    }
    EXPECT_EQ(lit, 6 * 21 + 23);
}

TEST(DigitGlyphBadInput, OutsideTheGlyphOrDigitRangeIsBlack) {
    EXPECT_EQ(DigitGlyphPixel(-1, 6, 2), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(10, 6, 2), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(8, 13, 2), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(8, -1, 2), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(8, 6, 23), GlyphBlack);
    EXPECT_EQ(DigitGlyphPixel(9, 6, 23), GlyphBlack);   // just past the last glyph's bottom
    EXPECT_EQ(DigitGlyphPixel(9, 13, 22), GlyphBlack);  // just past its bottom-right corner
}

}  // namespace
