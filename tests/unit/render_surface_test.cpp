#include <gtest/gtest.h>

#include <vector>

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
    const Case cases[] = {{2, 5, 8, 5}, {8, 5, 2, 5}, {5, 2, 5, 8}, {5, 8, 5, 2}, {2, 2, 8, 5}, {8, 2, 4, 8}};
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

// A 10 x 10 surface in the middle of a larger buffer: drawing that strays
// past an edge lands in the guard rows above and below it, or wraps into the
// neighbouring row, where a count of painted pixels sees it.
struct GuardedSurface {
    static constexpr int32_t Size = 10;
    static constexpr int32_t GuardRows = 4;
    std::vector<uint32_t> buffer = std::vector<uint32_t>((Size + 2 * GuardRows) * Size, Untouched);
    Surface surface{buffer.data() + GuardRows * Size, Size, Size};

    int Painted() const {
        int painted = 0;
        for (uint32_t pixel : buffer) painted += pixel != Untouched ? 1 : 0;
        return painted;
    }
};

void RedLine(Surface* surface, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    const Pen pen = CreatePen1(Red);
    DrawLineWithPen(surface, pen, fromX, fromY, toX, toY);
    DeletePen(pen);
}

void RedFill(Surface* surface, const Rect& rect) {
    const Brush brush = CreateBrush(Red);
    FillWithBrush(surface, rect, brush);
    DeleteBrush(brush);
}

TEST(SoftwareClipping, DrawingPastAnEdgePaintsOnlyWhatLiesOnTheSurface) {
    struct Case {
        const char* what;
        void (*draw)(Surface*);
        int painted;
    };
    const Case cases[] = {
        {"glyph across the left edge", [](Surface* s) { DrawDigitGlyph(s, 8, -5, 2); }, 8 * 8},
        {"glyph across the right edge", [](Surface* s) { DrawDigitGlyph(s, 8, 5, 2); }, 5 * 8},
        {"glyph across the bottom edge", [](Surface* s) { DrawDigitGlyph(s, 8, 0, 5); }, 10 * 5},
        {"fill across the top edge", [](Surface* s) { RedFill(s, {2, -3, 5, 2}); }, 3 * 2},
        {"row from left of the surface", [](Surface* s) { RedLine(s, -4, 3, 4, 3); }, 4},
        {"row ending just past the right edge", [](Surface* s) { RedLine(s, 7, 4, 11, 4); }, 3},
        {"row just below the surface", [](Surface* s) { RedLine(s, 0, 10, 5, 10); }, 0},
        {"column just right of the surface", [](Surface* s) { RedLine(s, 10, 0, 10, 5); }, 0},
    };
    for (const Case& c : cases) {
        GuardedSurface guarded;
        c.draw(&guarded.surface);
        EXPECT_EQ(guarded.Painted(), c.painted) << c.what;
    }
}

TEST(SoftwareOffscreen, CopyToASmallerTargetShowsTheTopLeftOfTheImage) {
    std::vector<uint32_t> buffer(4 * 5, Untouched);
    Surface target = {buffer.data(), 4, 3};  // the last two rows of the buffer lie beyond it
    Surface* offscreen = CreateOffscreenSurface(&target, 8, 6);
    ASSERT_NE(offscreen, nullptr);
    for (uint32_t i = 0; i < 8 * 6; ++i) offscreen->pixels[i] = i;  // every pixel its own value

    CopyToTarget(&target, offscreen);
    DeleteOffscreenSurface(offscreen);

    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 4; ++x) EXPECT_EQ(buffer[y * 4 + x], y * 8 + x) << x << "," << y;
    }
    for (size_t i = 4 * 3; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], Untouched) << "beyond the target at " << i;
}

TEST(SoftwareOffscreen, ImpossibleSizeGivesNoImage) {
    Canvas window(4, 4);
    EXPECT_EQ(CreateOffscreenSurface(window.dc(), -1, 384), nullptr);
    EXPECT_EQ(CreateOffscreenSurface(window.dc(), 0, 384), nullptr);
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
