#include <gtest/gtest.h>

#include "render/draw.h"
#include "render_canvas.h"

namespace {

TEST(Bevel, RaisedRingIsLightTopLeftDarkBottomRightWithTwoCornersUnpainted) {
    Canvas canvas(12, 10);
    DrawBevel(canvas.dc(), {3, 3, 8, 6}, 1, 1);
    ExpectPicture(canvas, 0, 0,
                  {"............",
                   "............",
                   "..LLLLLL....",
                   "..L.....D...",
                   "..L.....D...",
                   "..L.....D...",
                   "...DDDDDD...",
                   "............"});
}

TEST(Bevel, SunkenRingSwapsTheColours) {
    Canvas canvas(12, 10);
    DrawBevel(canvas.dc(), {3, 3, 8, 6}, 1, 0);
    ExpectPicture(canvas, 0, 0,
                  {"............",
                   "............",
                   "..DDDDDD....",
                   "..D.....L...",
                   "..D.....L...",
                   "..D.....L...",
                   "...LLLLLL...",
                   "............"});
}

TEST(Bevel, ThickBevelFramesFromOutsideLeavingEachRingsCornersUnpainted) {
    Canvas canvas(12, 12);
    DrawBevel(canvas.dc(), {4, 4, 8, 7}, 3, 0);
    ExpectPicture(canvas, 0, 0,
                  {"............",
                   ".DDDDDDDDD..",
                   ".DDDDDDDD.L.",
                   ".DDDDDDD.LL.",
                   ".DDD....LLL.",
                   ".DDD....LLL.",
                   ".DDD....LLL.",
                   ".DD.LLLLLLL.",
                   ".D.LLLLLLLL.",
                   "..LLLLLLLLL.",
                   "............"});
}

TEST(Bevel, ThicknessBelowOneDrawsNothing) {
    Canvas canvas(12, 12);
    DrawBevel(canvas.dc(), {4, 4, 8, 8}, 0, 1);
    DrawBevel(canvas.dc(), {4, 4, 8, 8}, -2, 0);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(Bevel, LeavesNoPenBehind) {
    Canvas canvas(12, 12);
    const int pens = LivePenCount();
    DrawBevel(canvas.dc(), {4, 4, 8, 8}, 3, 1);
    EXPECT_EQ(LivePenCount(), pens);
}

struct OneBlock {
    Piece piece{};
    explicit OneBlock(int kind) { BuildPiece(piece, kind, {32, 48, 0, 0}, 0, 0); }
    ~OneBlock() { ReleasePiece(piece); }
    Block& block() { return *piece.blocks[0]; }
};

TEST(BlockDrawing, RaisedBlockShowsLightTopLeftAndFourPanelPixels) {
    Canvas canvas(60, 70);
    OneBlock one(3);
    DrawBlock(canvas.dc(), one.block());
    ExpectPicture(canvas, 32, 48, RaisedCell(), KindColours[3]);
    EXPECT_EQ(canvas.At(31, 48), Untouched);
    EXPECT_EQ(canvas.At(48, 63), Untouched);
    EXPECT_EQ(canvas.At(40, 64), Untouched);
}

TEST(BlockDrawing, SunkenBlockSwapsItsBevelAndKeepsItsFill) {
    Canvas canvas(60, 70);
    OneBlock one(5);
    one.block().raised = 0;
    DrawBlock(canvas.dc(), one.block());
    ExpectPicture(canvas, 32, 48, SunkenCell(), KindColours[5]);
}

TEST(BlockDrawing, PieceDrawsAllFourCellsOfItsShape) {
    Canvas canvas(100, 60);
    Piece piece{};
    BuildPiece(piece, 0, {10, 10, 0, 0}, 1, 0);  // cells (1,0) (2,0) (0,0) (0,1)
    DrawPiece(canvas.dc(), piece);
    ReleasePiece(piece);
    const int32_t filled[][2] = {{26, 10}, {42, 10}, {10, 10}, {10, 26}};
    for (const auto& cell : filled) {
        ExpectPicture(canvas, cell[0], cell[1], RaisedCell(), KindColours[0]);
    }
    EXPECT_EQ(canvas.At(26 + 8, 26 + 8), Untouched);  // under the middle: empty
}

TEST(BlockDrawing, PieceWithoutBlocksDrawsNothing) {
    Canvas canvas(20, 20);
    const Piece empty{};
    DrawPiece(canvas.dc(), empty);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(DigitReadout, ScoreOf120ShowsAsSixDigitsWithLeadingZeros) {
    Canvas canvas;
    DrawDigits(canvas.dc(), ScoreBoxRect, 120, 6);
    EXPECT_EQ(ReadDigits(canvas, 14, 17, 6), "000120");
    EXPECT_TRUE(ShowsDigit(canvas, 79, 17, 0));
    EXPECT_TRUE(ShowsDigit(canvas, 66, 17, 2));
    EXPECT_TRUE(ShowsDigit(canvas, 53, 17, 1));
    EXPECT_EQ(canvas.At(13, 17), Untouched);
    EXPECT_EQ(canvas.At(92, 17), Untouched);
    EXPECT_EQ(canvas.At(50, 40), Untouched);
}

TEST(DigitReadout, LinesShowOnlyTheirLastThreeDigits) {
    Canvas canvas;
    DrawDigits(canvas.dc(), LinesBoxRect, 1234, 3);
    EXPECT_EQ(ReadDigits(canvas, 105, 17, 3), "234");
    EXPECT_EQ(canvas.At(104, 20), Untouched);
    EXPECT_EQ(canvas.At(144, 20), Untouched);
}

TEST(DigitReadout, CountOfHundredShowsAsTwoZeros) {
    Canvas canvas;
    const Rect box = StatisticsCountBox(2);
    DrawDigits(canvas.dc(), box, 100, 2);
    EXPECT_EQ(ReadDigits(canvas, 253, 22 + 42 * 2, 2), "00");
    EXPECT_EQ(canvas.At(252, 22 + 42 * 2), Untouched);
}

TEST(DigitReadout, LevelIsOneDigitAtTheLevelBox) {
    Canvas canvas;
    DrawDigits(canvas.dc(), LevelBoxRect, 7, 1);
    EXPECT_TRUE(ShowsDigit(canvas, 157, 17, 7));
    EXPECT_EQ(canvas.At(156, 17), Untouched);
}

TEST(DigitReadout, OnlyRightAndTopOfTheBoxMatter) {
    Canvas canvas;
    DrawDigits(canvas.dc(), {200, 30, 60, 0}, 95, 2);
    EXPECT_EQ(ReadDigits(canvas, 34, 30, 2), "95");
}

TEST(DigitReadout, CountBelowOneDrawsNothing) {
    Canvas canvas;
    DrawDigits(canvas.dc(), ScoreBoxRect, 120, 0);
    DrawDigits(canvas.dc(), ScoreBoxRect, 120, -3);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(DigitReadout, NegativeValueDrawsNothing) {
    Canvas canvas;
    DrawDigits(canvas.dc(), ScoreBoxRect, -120, 6);
    for (uint32_t pixel : canvas.pixels) EXPECT_EQ(pixel, Untouched);
}

TEST(DigitReadout, LargestValueAndLongCountDoNotOverflow) {
    Canvas canvas;
    DrawDigits(canvas.dc(), {0, 0, 286, 0}, 2147483647, 22);
    EXPECT_EQ(ReadDigits(canvas, 0, 0, 22), "0000000000002147483647");
}

}  // namespace
