#include <gtest/gtest.h>

#include <string>

#include "game/board.h"
#include "game/game_state.h"
#include "game/host.h"
#include "render/frame.h"
#include "render_canvas.h"
#include "support/headless_host.h"

namespace {

// Each kind's sample as it stands in its 4 x 2 cell area of the statistics
// column, origin at column 1 of the top row.
const char* const SampleShapes[PieceKindCount][2] = {
    {"XXX.", "X..."}, {"XXX.", "..X."}, {".XX.", "XX.."}, {"XX..", ".XX."},
    {"XXX.", ".X.."}, {".XX.", ".XX."}, {"XXXX", "...."},
};
constexpr int32_t SampleFrameTops[PieceKindCount] = {18, 60, 102, 144, 186, 228, 278};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpIdleModel(); }
    void TearDown() override { ClearModel(); }

    Canvas Render() {
        Canvas canvas;
        RenderFrame(canvas.dc());
        return canvas;
    }
};

using IdleFrame = FrameTest;

TEST_F(IdleFrame, CoversTheWholeWindow) {
    const Canvas canvas = Render();
    for (uint32_t pixel : canvas.pixels) ASSERT_NE(pixel, Untouched);
}

TEST_F(IdleFrame, BackgroundAndEmptyPanelsArePanelGrey) {
    const Canvas canvas = Render();
    const int32_t greyPoints[][2] = {
        {0, 0}, {290, 383}, {290, 0}, {0, 383}, {5, 200}, {177, 200}, {286, 150}, {230, 308},  // background
        {13, 57}, {92, 216}, {171, 375},                                                       // empty well
        {183, 314}, {232, 345}, {282, 376},                                                    // empty next panel
        {12, 12}, {100, 42}, {172, 45},                                                        // score panel margins
    };
    for (const auto& point : greyPoints) EXPECT_EQ(canvas.At(point[0], point[1]), PanelGrey) << point[0] << "," << point[1];
}

TEST_F(IdleFrame, WellHasASunkenThreePixelBevelWithUnpaintedCorners) {
    const Canvas canvas = Render();
    for (int32_t x : {9, 10, 11}) EXPECT_EQ(canvas.At(x, 200), DarkEdge) << x;
    for (int32_t x : {172, 173, 174}) EXPECT_EQ(canvas.At(x, 200), LightEdge) << x;
    for (int32_t y : {53, 54, 55}) EXPECT_EQ(canvas.At(90, y), DarkEdge) << y;
    for (int32_t y : {376, 377, 378}) EXPECT_EQ(canvas.At(90, y), LightEdge) << y;
    EXPECT_EQ(canvas.At(8, 200), PanelGrey);
    EXPECT_EQ(canvas.At(175, 200), PanelGrey);
    EXPECT_EQ(canvas.At(90, 52), PanelGrey);
    EXPECT_EQ(canvas.At(90, 379), PanelGrey);
    EXPECT_EQ(canvas.At(12, 200), PanelGrey);
    EXPECT_EQ(canvas.At(171, 200), PanelGrey);
    // Top-left and bottom-right corners are fully painted.
    EXPECT_EQ(canvas.At(9, 53), DarkEdge);
    EXPECT_EQ(canvas.At(11, 55), DarkEdge);
    EXPECT_EQ(canvas.At(174, 378), LightEdge);
    // The other two corners show the background through a staircase.
    const int32_t unpainted[][2] = {{172, 55}, {173, 54}, {174, 53}, {11, 376}, {10, 377}, {9, 378}};
    for (const auto& p : unpainted) EXPECT_EQ(canvas.At(p[0], p[1]), PanelGrey) << p[0] << "," << p[1];
    EXPECT_EQ(canvas.At(171, 55), DarkEdge);
    EXPECT_EQ(canvas.At(172, 56), LightEdge);
    EXPECT_EQ(canvas.At(11, 377), LightEdge);
    EXPECT_EQ(canvas.At(10, 376), DarkEdge);
}

TEST_F(IdleFrame, SidePanelsHaveSunkenTwoPixelBevels) {
    const Canvas canvas = Render();
    // Statistics column 182, 11, 283, 303 and next panel 182, 313, 283, 377.
    for (int32_t y : {150, 340}) {
        EXPECT_EQ(canvas.At(180, y), DarkEdge) << y;
        EXPECT_EQ(canvas.At(181, y), DarkEdge) << y;
        EXPECT_EQ(canvas.At(283, y), LightEdge) << y;
        EXPECT_EQ(canvas.At(284, y), LightEdge) << y;
        EXPECT_EQ(canvas.At(179, y), PanelGrey) << y;
        EXPECT_EQ(canvas.At(285, y), PanelGrey) << y;
    }
    for (int32_t y : {9, 10, 311, 312}) EXPECT_EQ(canvas.At(230, y), DarkEdge) << y;
    for (int32_t y : {303, 304, 377, 378}) EXPECT_EQ(canvas.At(230, y), LightEdge) << y;
    for (int32_t y : {8, 305, 310, 379}) EXPECT_EQ(canvas.At(230, y), PanelGrey) << y;
    // Score panel 11, 11, 173, 46.
    EXPECT_EQ(canvas.At(9, 30), DarkEdge);
    EXPECT_EQ(canvas.At(10, 30), DarkEdge);
    EXPECT_EQ(canvas.At(173, 30), LightEdge);
    EXPECT_EQ(canvas.At(174, 30), LightEdge);
    EXPECT_EQ(canvas.At(100, 9), DarkEdge);
    EXPECT_EQ(canvas.At(100, 47), LightEdge);
}

TEST_F(IdleFrame, ReadoutsShowZerosInTheirBoxes) {
    const Canvas canvas = Render();
    EXPECT_EQ(ReadDigits(canvas, 14, 17, 6), "000000");
    EXPECT_EQ(ReadDigits(canvas, 105, 17, 3), "000");
    EXPECT_EQ(ReadDigits(canvas, 157, 17, 1), "0");
    // The 13-pixel gaps between the boxes hold their one-pixel sunken bevels.
    EXPECT_EQ(canvas.At(92, 30), LightEdge);
    EXPECT_EQ(canvas.At(93, 30), PanelGrey);
    EXPECT_EQ(canvas.At(103, 30), PanelGrey);
    EXPECT_EQ(canvas.At(104, 30), DarkEdge);
    EXPECT_EQ(canvas.At(144, 30), LightEdge);
    EXPECT_EQ(canvas.At(156, 30), DarkEdge);
    EXPECT_EQ(canvas.At(170, 30), LightEdge);
}

TEST_F(IdleFrame, ScoreBoxBevelIsOnePixelSunkenWithUnpaintedCorners) {
    const Canvas canvas = Render();
    for (int32_t x = 13; x <= 91; ++x) EXPECT_EQ(canvas.At(x, 16), DarkEdge) << x;
    for (int32_t y = 16; y <= 39; ++y) EXPECT_EQ(canvas.At(13, y), DarkEdge) << y;
    for (int32_t x = 14; x <= 92; ++x) EXPECT_EQ(canvas.At(x, 40), LightEdge) << x;
    for (int32_t y = 17; y <= 40; ++y) EXPECT_EQ(canvas.At(92, y), LightEdge) << y;
    EXPECT_EQ(canvas.At(92, 16), PanelGrey);
    EXPECT_EQ(canvas.At(13, 40), PanelGrey);
}

TEST_F(IdleFrame, EveryCountBoxShowsDoubleZeroOnTheRegularPitch) {
    const Canvas canvas = Render();
    for (int i = 0; i < PieceKindCount; ++i) {
        const int32_t top = 22 + 42 * i;
        EXPECT_EQ(ReadDigits(canvas, 253, top, 2), "00") << "sample " << i;
        EXPECT_EQ(canvas.At(252, top + 5), DarkEdge) << "sample " << i;
        EXPECT_EQ(canvas.At(260, top - 1), DarkEdge) << "sample " << i;
        EXPECT_EQ(canvas.At(279, top + 5), LightEdge) << "sample " << i;
        EXPECT_EQ(canvas.At(260, top + 23), LightEdge) << "sample " << i;
        EXPECT_EQ(canvas.At(251, top + 5), PanelGrey) << "sample " << i;
    }
}

TEST_F(IdleFrame, EverySampleShowsItsShapeInItsColour) {
    const Canvas canvas = Render();
    for (int kind = 0; kind < PieceKindCount; ++kind) {
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 4; ++col) {
                const int32_t x = 186 + 16 * col;
                const int32_t y = SampleFrameTops[kind] + 16 * row;
                SCOPED_TRACE("kind " + std::to_string(kind) + " cell " + std::to_string(col) + "," + std::to_string(row));
                if (SampleShapes[kind][row][col] == 'X') {
                    ExpectPicture(canvas, x, y, RaisedCell(), KindColours[kind], PanelGrey);
                } else {
                    EXPECT_EQ(canvas.At(x + 8, y + 8), PanelGrey);
                }
            }
        }
    }
}

TEST_F(IdleFrame, SeventhSampleSitsEightPixelsBelowThePitchItsCountBoxDoesNot) {
    const Canvas canvas = Render();
    // The row of four covers x 186..249, y 278..293.
    EXPECT_EQ(canvas.At(186, 278), LightEdge);
    EXPECT_EQ(canvas.At(249, 293), DarkEdge);
    EXPECT_EQ(canvas.At(220, 285), KindColours[6]);
    for (int32_t y = 270; y < 278; ++y) EXPECT_EQ(canvas.At(200, y), PanelGrey) << y;
    for (int32_t y = 294; y < 303; ++y) EXPECT_EQ(canvas.At(200, y), PanelGrey) << y;
    EXPECT_EQ(ReadDigits(canvas, 253, 274, 2), "00");
    EXPECT_EQ(canvas.At(252, 280), DarkEdge);
    EXPECT_EQ(canvas.At(250, 285), PanelGrey);  // no sample reaches the count boxes
}

TEST_F(IdleFrame, LeavesOnlyTheBlocksBrushesAndNoPensAlive) {
    const int brushes = LiveBrushCount();
    const Canvas canvas = Render();
    EXPECT_EQ(LiveBrushCount(), brushes);
    EXPECT_EQ(LiveBrushCount(), LiveBlockCount());
    EXPECT_EQ(LivePenCount(), 0);
}

using GameFrame = FrameTest;

TEST_F(GameFrame, ReadoutsShowScoreLinesLevelAndCountsTruncatedToTheirBoxes) {
    gameState.score = 120;
    gameState.lines = 1234;
    gameState.level = 3;
    gameState.startLevel = 7;
    const int32_t counts[PieceKindCount] = {0, 5, 42, 100, 99, 1234, 7};
    for (int i = 0; i < PieceKindCount; ++i) gameState.counts[i] = counts[i];
    const Canvas canvas = Render();
    EXPECT_EQ(ReadDigits(canvas, 14, 17, 6), "000120");
    EXPECT_EQ(ReadDigits(canvas, 105, 17, 3), "234");
    EXPECT_EQ(ReadDigits(canvas, 157, 17, 1), "3");
    const char* const shown[PieceKindCount] = {"00", "05", "42", "00", "99", "34", "07"};
    for (int i = 0; i < PieceKindCount; ++i) EXPECT_EQ(ReadDigits(canvas, 253, 22 + 42 * i, 2), shown[i]) << i;
}

TEST_F(GameFrame, WellBlocksStandAtTheirCells) {
    LockBlockAt(1, 0, 19);
    LockBlockAt(4, 9, 19);
    LockBlockAt(6, 4, 10);
    const Canvas canvas = Render();
    ExpectPicture(canvas, 12, 360, RaisedCell(), KindColours[1], PanelGrey);
    ExpectPicture(canvas, 156, 360, RaisedCell(), KindColours[4], PanelGrey);
    ExpectPicture(canvas, 76, 216, RaisedCell(), KindColours[6], PanelGrey);
    EXPECT_EQ(canvas.At(36, 368), PanelGrey);  // column 1, row 19 is empty
}

TEST_F(GameFrame, BlinkingRowShowsItsBlocksSunken) {
    LockBlockAt(2, 3, 19, 0);
    const Canvas canvas = Render();
    ExpectPicture(canvas, 12 + 48, 360, SunkenCell(), KindColours[2], PanelGrey);
}

TEST_F(GameFrame, CurrentPieceIsDrawnOverTheWellsBlocks) {
    LockBlockAt(1, 5, 0);
    BuildPiece(currentPiece, 4, BoardPanelRect, 5, 0);
    gameState.hasCurrent = 1;
    const Canvas canvas = Render();
    ExpectPicture(canvas, 92, 56, RaisedCell(), KindColours[4], PanelGrey);  // covers the red Block
    ExpectPicture(canvas, 108, 56, RaisedCell(), KindColours[4], PanelGrey);
    ExpectPicture(canvas, 76, 56, RaisedCell(), KindColours[4], PanelGrey);
    ExpectPicture(canvas, 92, 72, RaisedCell(), KindColours[4], PanelGrey);
}

TEST_F(GameFrame, CurrentPieceIsHiddenWhileNoPieceIsCurrent) {
    BuildPiece(currentPiece, 4, BoardPanelRect, 5, 0);
    gameState.hasCurrent = 0;
    const Canvas canvas = Render();
    EXPECT_EQ(canvas.At(100, 64), PanelGrey);
    ReleasePiece(currentPiece);
}

TEST_F(GameFrame, NextPieceIsShiftedByKindInsideItsPanel) {
    // Where blocks[0] (origin cell 2, 1) lands: kinds 0..4 8 px right of the
    // panel corner, the square not shifted, the bar 8 px down.
    const int32_t origins[PieceKindCount][2] = {{222, 329}, {222, 329}, {222, 329}, {222, 329},
                                                 {222, 329}, {214, 329}, {214, 337}};
    for (int kind = 0; kind < PieceKindCount; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        BuildPiece(nextPiece, kind, NextPieceFrame(kind), 2, 1);
        gameState.hasNext = 1;
        const Canvas canvas = Render();
        ExpectPicture(canvas, origins[kind][0], origins[kind][1], RaisedCell(), KindColours[kind], PanelGrey);
        ReleasePiece(nextPiece);
        gameState.hasNext = 0;
    }
}

TEST_F(GameFrame, FullWellLeavesOnlyTheBlocksBrushesAndNoPensAlive) {
    for (int32_t row = 0; row < BoardRows; ++row) {
        for (int32_t col = 0; col < BoardColumns; ++col) LockBlockAt((row + col) % PieceKindCount, col, row);
    }
    BuildPiece(currentPiece, 2, BoardPanelRect, 5, 0);
    gameState.hasCurrent = 1;
    BuildPiece(nextPiece, 6, NextPieceFrame(6), 2, 1);
    gameState.hasNext = 1;
    const int brushes = LiveBrushCount();
    const Canvas canvas = Render();
    EXPECT_EQ(LiveBrushCount(), brushes);
    EXPECT_EQ(LiveBrushCount(), LiveBlockCount());
    EXPECT_EQ(LivePenCount(), 0);
}

TEST_F(IdleFrame, RedrawThroughTheHostShowsTheSameFrame) {
    const Canvas direct = Render();
    ResetHeadlessHost();
    SetRedrawRendersFrame(true);
    HostRedraw();
    const uint32_t* shown = LastFrame();
    int differing = 0;
    for (size_t i = 0; i < direct.pixels.size(); ++i) differing += shown[i] != direct.pixels[i] ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(shown[0], PanelGrey);
    ResetHeadlessHost();
}

TEST(FrameWithoutSamples, StatisticsColumnIsEmptyButTheFrameIsWhole) {
    ClearModel();
    Canvas canvas;
    RenderFrame(canvas.dc());
    for (uint32_t pixel : canvas.pixels) ASSERT_NE(pixel, Untouched);
    EXPECT_EQ(canvas.At(210, 26), PanelGrey);
    EXPECT_EQ(ReadDigits(canvas, 253, 22, 2), "00");
}

}  // namespace
