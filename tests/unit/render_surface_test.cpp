#include <gtest/gtest.h>

#include "render/glyphs.h"
#include "render_canvas.h"

namespace {

constexpr Colour Red = 0x0000FF;

TEST(SoftwareFill, CoversLeftAndTopButNotRightAndBottom) {
    Canvas canvas(20, 20);
    const Brush brush = CreateBrush(Red);
    FillWithBrush(canvas.dc(), {3, 4, 7, 9}, brush);
    DeleteBrush(brush);
    int painted = 0;
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 7 && y >= 4 && y < 9;
            EXPECT_EQ(canvas.At(x, y), inside ? Red : Untouched) << x << "," << y;
            painted += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(painted, 4 * 5);
}

TEST(SoftwareFill, EmptyOrInvertedRectanglePaintsNothing) {
    Canvas canvas(10, 10);
    const Brush brush = CreateBrush(Red);
    FillWithBrush(canvas.dc(), {5, 5, 5, 8}, brush);
    FillWithBrush(canvas.dc(), {5, 5, 8, 5}, brush);
    FillWithBrush(canvas.dc(), {8, 8, 2, 2}, brush);
    DeleteBrush(brush);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(SoftwareFill, RectangleReachingPastTheEdgesPaintsOnlyWhatIsOnTheSurface) {
    Canvas canvas(10, 10);
    const Brush brush = CreateBrush(Red);
    FillWithBrush(canvas.dc(), {-5, 8, 30, 40}, brush);
    DeleteBrush(brush);
    for (int32_t x = 0; x < 10; ++x) {
        EXPECT_EQ(canvas.At(x, 7), Untouched);
        EXPECT_EQ(canvas.At(x, 8), Red);
        EXPECT_EQ(canvas.At(x, 9), Red);
    }
}

TEST(SoftwareLine, CoversItsStartAndStopsShortOfItsEndInEveryDirection) {
    struct Case {
        int32_t fromX, fromY, toX, toY;
    };
    const Case cases[] = {{2, 5, 8, 5}, {8, 5, 2, 5}, {5, 2, 5, 8}, {5, 8, 5, 2}};
    for (const Case& line : cases) {
        Canvas canvas(12, 12);
        const Pen pen = CreatePen1(Red);
        DrawLineWithPen(canvas.dc(), pen, line.fromX, line.fromY, line.toX, line.toY);
        DeletePen(pen);
        EXPECT_EQ(canvas.At(line.fromX, line.fromY), Red);
        EXPECT_EQ(canvas.At(line.toX, line.toY), Untouched);
        int painted = 0;
        for (uint32_t pixel : canvas.pixels) painted += pixel == Red ? 1 : 0;
        EXPECT_EQ(painted, 6) << line.fromX << "," << line.fromY << " to " << line.toX << "," << line.toY;
    }
}

TEST(SoftwareLine, LineToItsOwnStartPaintsNothing) {
    Canvas canvas(5, 5);
    const Pen pen = CreatePen1(Red);
    DrawLineWithPen(canvas.dc(), pen, 2, 2, 2, 2);
    DeletePen(pen);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(SoftwareLine, LineRunningOffTheSurfacePaintsOnlyItsVisiblePart) {
    Canvas canvas(10, 10);
    const Pen pen = CreatePen1(Red);
    DrawLineWithPen(canvas.dc(), pen, -4, 3, 20, 3);
    DrawLineWithPen(canvas.dc(), pen, 6, 15, 6, -3);
    DrawLineWithPen(canvas.dc(), pen, -1, -1, -1, 12);
    DrawLineWithPen(canvas.dc(), pen, 2, 40, 2, 20);
    DrawLineWithPen(canvas.dc(), pen, 30, 1, 12, 1);
    DeletePen(pen);
    for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(canvas.At(x, 3), Red) << x;
    for (int32_t y = 0; y < 10; ++y) EXPECT_EQ(canvas.At(6, y), Red) << y;
    EXPECT_EQ(canvas.At(0, 0), Untouched);
    EXPECT_EQ(canvas.At(5, 9), Untouched);
    EXPECT_EQ(canvas.At(2, 9), Untouched);
    EXPECT_EQ(canvas.At(9, 1), Untouched);
}

TEST(SoftwareOffscreen, ImpossibleSizeGivesNoImage) {
    Canvas window(4, 4);
    EXPECT_EQ(CreateOffscreenSurface(window.dc(), -1, 384), nullptr);
    DeleteOffscreenSurface(nullptr);
}

TEST(SoftwareGlyph, PaintsTheOpaqueBlockAndNothingAroundIt) {
    Canvas canvas(40, 40);
    DrawDigitGlyph(canvas.dc(), 3, 5, 6);
    EXPECT_TRUE(ShowsDigit(canvas, 5, 6, 3));
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const bool inGlyph = x >= 5 && x < 18 && y >= 6 && y < 29;
            if (!inGlyph) {
                EXPECT_EQ(canvas.At(x, y), Untouched) << x << "," << y;
            }
        }
    }
}

TEST(SoftwareGlyph, DigitWithoutAGlyphIsNotDrawn) {
    Canvas canvas(20, 30);
    DrawDigitGlyph(canvas.dc(), 10, 0, 0);
    DrawDigitGlyph(canvas.dc(), -1, 0, 0);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(SoftwareOffscreen, CopyShowsTheComposedImageWholeAtTheOrigin) {
    Canvas window(8, 6);
    Surface* offscreen = CreateOffscreenSurface(window.dc(), 8, 6);
    ASSERT_NE(offscreen, nullptr);
    const Brush brush = CreateBrush(Red);
    FillWithBrush(offscreen, {0, 0, 8, 6}, brush);
    DeleteBrush(brush);
    const Brush corner = CreateBrush(0x00FF00);
    FillWithBrush(offscreen, {7, 5, 8, 6}, corner);
    DeleteBrush(corner);
    for (uint32_t pixel : window.pixels) EXPECT_EQ(pixel, Untouched);  // nothing shows before the copy
    CopyToTarget(window.dc(), offscreen);
    DeleteOffscreenSurface(offscreen);
    EXPECT_EQ(window.At(0, 0), Red);
    EXPECT_EQ(window.At(6, 5), Red);
    EXPECT_EQ(window.At(7, 5), 0x00FF00u);
}

TEST(SoftwareHandles, CountsFollowCreationAndDeletion) {
    const int brushes = LiveBrushCount();
    const int pens = LivePenCount();
    const Brush brush = CreateBrush(0);
    const Pen pen = CreatePen1(0);
    EXPECT_NE(brush.handle, 0u);
    EXPECT_NE(pen.handle, 0u);
    EXPECT_EQ(LiveBrushCount(), brushes + 1);
    EXPECT_EQ(LivePenCount(), pens + 1);
    DeleteBrush(brush);
    DeletePen(pen);
    DeleteBrush(Brush{0});
    DeletePen(Pen{0});
    EXPECT_EQ(LiveBrushCount(), brushes);
    EXPECT_EQ(LivePenCount(), pens);
}

}  // namespace
