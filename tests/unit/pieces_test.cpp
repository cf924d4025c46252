// Building pieces from the catalogue, placing them in a panel, moving them
// and giving their Blocks back.

#include <gtest/gtest.h>

#include "game/block.h"
#include "model_fixture.h"

namespace {

using namespace model_test;

constexpr Rect TestFrame = {100, 200, 300, 400};

class PieceBuilding : public ModelTest {};
class PieceMoving : public ModelTest {};
class PieceRelease : public ModelTest {};

struct ExpectedKind {
    Colour colour;
    int cells[4][2];  // (column, row) of blocks[0..3] for origin (1, 0)
    int width;
    int height;
    int evenSpanFix;
};

// The seven kinds as a player sees them, each built at origin (1, 0).
const ExpectedKind Kinds[7] = {
    {0xFF00FF, {{1, 0}, {2, 0}, {0, 0}, {0, 1}}, 3, 2, 0},
    {0x0000FF, {{1, 0}, {2, 0}, {0, 0}, {2, 1}}, 3, 2, 0},
    {0xFFFF7F, {{1, 0}, {2, 0}, {1, 1}, {0, 1}}, 3, 2, 1},
    {0x00FFFF, {{1, 0}, {0, 0}, {1, 1}, {2, 1}}, 3, 2, 1},
    {0xFA0000, {{1, 0}, {2, 0}, {0, 0}, {1, 1}}, 3, 2, 0},
    {0x00FA00, {{1, 0}, {2, 0}, {1, 1}, {2, 1}}, 2, 2, 1},
    {0x007FFF, {{1, 0}, {2, 0}, {0, 0}, {3, 0}}, 4, 1, 1},
};

TEST_F(PieceBuilding, BarAtTwoOneInAFrameGetsItsCellsRectanglesAndSpans) {
    Piece bar = {};
    BuildPiece(bar, BarKind, TestFrame, 2, 1);

    EXPECT_EQ(bar.x, 2);
    EXPECT_EQ(bar.y, 1);
    const int cells[4][2] = {{2, 1}, {3, 1}, {1, 1}, {4, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar.blocks[i]->col, cells[i][0]) << "block " << i;
        EXPECT_EQ(bar.blocks[i]->row, cells[i][1]) << "block " << i;
        EXPECT_EQ(bar.blocks[i]->raised, 1) << "block " << i;
    }
    EXPECT_TRUE(RectIs(bar.blocks[0]->rect, 132, 216, 148, 232));
    EXPECT_TRUE(RectIs(bar.blocks[1]->rect, 148, 216, 164, 232));
    EXPECT_TRUE(RectIs(bar.blocks[2]->rect, 116, 216, 132, 232));
    EXPECT_TRUE(RectIs(bar.blocks[3]->rect, 164, 216, 180, 232));
    EXPECT_EQ(bar.width, 4);
    EXPECT_EQ(bar.height, 1);
    EXPECT_EQ(bar.evenSpanFix, 1);

    ReleasePiece(bar);
}

TEST_F(PieceBuilding, EveryKindHasItsShapeSpansAndColour) {
    for (int kind = 0; kind < 7; ++kind) {
        Piece piece = {};
        BuildPiece(piece, kind, BoardPanelRect, 1, 0);
        const ExpectedKind& expected = Kinds[kind];
        for (int i = 0; i < 4; ++i) {
            const Block* block = piece.blocks[i];
            EXPECT_EQ(block->col, expected.cells[i][0]) << "kind " << kind << " block " << i;
            EXPECT_EQ(block->row, expected.cells[i][1]) << "kind " << kind << " block " << i;
            EXPECT_TRUE(RectIs(block->rect, WellRect(expected.cells[i][0], expected.cells[i][1])))
                << "kind " << kind << " block " << i;
            EXPECT_EQ(PaintedColour(block->brush), expected.colour) << "kind " << kind << " block " << i;
        }
        EXPECT_EQ(piece.width, expected.width) << "kind " << kind;
        EXPECT_EQ(piece.height, expected.height) << "kind " << kind;
        EXPECT_EQ(piece.evenSpanFix, expected.evenSpanFix) << "kind " << kind;
        ReleasePiece(piece);
    }
}

TEST_F(PieceBuilding, EachBlockOwnsABrushOfItsOwn) {
    Piece piece = {};
    BuildPiece(piece, 3, TestFrame, 2, 1);
    EXPECT_EQ(BlocksAlive(), 4);
    EXPECT_EQ(BrushesAlive(), 4);

    FreeBlock(piece.blocks[0]);
    piece.blocks[0] = nullptr;
    EXPECT_EQ(BlocksAlive(), 3);
    EXPECT_EQ(BrushesAlive(), 3);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(PaintedColour(piece.blocks[i]->brush), 0x00FFFFu);

    ReleasePiece(piece);
}

TEST_F(PieceBuilding, TwoPiecesOfOneKindNeverShareABrush) {
    Piece first = {};
    Piece second = {};
    BuildPiece(first, 2, TestFrame, 2, 1);
    BuildPiece(second, 2, TestFrame, 2, 1);
    EXPECT_EQ(BrushesAlive(), 8);

    ReleasePiece(first);

    EXPECT_EQ(BrushesAlive(), 4);
    for (const Block* block : second.blocks) EXPECT_EQ(PaintedColour(block->brush), 0xFFFF7Fu);
    ReleasePiece(second);
}

TEST_F(PieceBuilding, AKindOutsideTheCatalogueBuildsNothing) {
    Piece piece = {};

    BuildPiece(piece, 7, TestFrame, 2, 1);
    BuildPiece(piece, -1, TestFrame, 2, 1);

    EXPECT_EQ(BlocksAlive(), 0);
    EXPECT_EQ(BrushesAlive(), 0);
    for (const Block* block : piece.blocks) EXPECT_EQ(block, nullptr);
}

TEST_F(PieceMoving, PlaceAndMoveCarriesTheBarFromTheNextPanelIntoTheWell) {
    Piece bar = {};
    BuildPiece(bar, BarKind, TestFrame, 2, 1);
    Block* const blocks[4] = {bar.blocks[0], bar.blocks[1], bar.blocks[2], bar.blocks[3]};

    bar.PlaceAndMove(BoardPanelRect, 5, 0);

    EXPECT_EQ(bar.x, 5);
    EXPECT_EQ(bar.y, 0);
    const int cols[4] = {5, 6, 4, 7};
    const int lefts[4] = {92, 108, 76, 124};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar.blocks[i], blocks[i]) << "the same Block stays at index " << i;
        EXPECT_EQ(bar.blocks[i]->col, cols[i]);
        EXPECT_EQ(bar.blocks[i]->row, 0);
        EXPECT_TRUE(RectIs(bar.blocks[i]->rect, lefts[i], 56, lefts[i] + 16, 72)) << "block " << i;
    }
    EXPECT_EQ(bar.width, 4);
    EXPECT_EQ(bar.height, 1);
    EXPECT_EQ(bar.evenSpanFix, 1);
    ReleasePiece(bar);
}

TEST_F(PieceMoving, MovingToItsOwnOriginChangesNothing) {
    Piece piece = {};
    BuildPiece(piece, 0, BoardPanelRect, 4, 7);

    piece.MoveTo(4, 7);

    for (int i = 0; i < 4; ++i) {
        const int col = 4 + Kinds[0].cells[i][0] - 1;
        const int row = 7 + Kinds[0].cells[i][1];
        EXPECT_EQ(piece.blocks[i]->col, col);
        EXPECT_EQ(piece.blocks[i]->row, row);
        EXPECT_TRUE(RectIs(piece.blocks[i]->rect, WellRect(col, row)));
    }
    ReleasePiece(piece);
}

TEST_F(PieceMoving, OneColumnRightShiftsEveryRectangleBySixteenPixels) {
    Piece piece = {};
    BuildPiece(piece, 1, BoardPanelRect, 4, 7);
    Rect before[4];
    for (int i = 0; i < 4; ++i) before[i] = piece.blocks[i]->rect;

    piece.MoveTo(5, 7);

    EXPECT_EQ(piece.x, 5);
    EXPECT_EQ(piece.y, 7);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(RectIs(piece.blocks[i]->rect, before[i].left + 16, before[i].top, before[i].right + 16,
                           before[i].bottom))
            << "block " << i;
        EXPECT_EQ(piece.blocks[i]->raised, 1);
    }
    EXPECT_EQ(piece.width, 3);
    EXPECT_EQ(piece.height, 2);
    ReleasePiece(piece);
}

TEST_F(PieceMoving, MovingWithoutANewPlacementKeepsTheOldFrame) {
    Piece square = {};
    BuildPiece(square, SquareKind, TestFrame, 0, 0);

    square.MoveTo(3, 2);

    EXPECT_TRUE(RectIs(square.blocks[0]->rect, 100 + 48, 200 + 32, 100 + 64, 200 + 48));
    EXPECT_TRUE(RectIs(square.blocks[3]->rect, 100 + 64, 200 + 48, 100 + 80, 200 + 64));
    ReleasePiece(square);
}

TEST_F(PieceMoving, BlocksGoOutsideAnyPanelWithoutComplaint) {
    Piece piece = {};
    BuildPiece(piece, 4, BoardPanelRect, 5, 5);

    piece.MoveTo(-3, -2);

    EXPECT_EQ(piece.blocks[2]->col, -4);
    EXPECT_EQ(piece.blocks[2]->row, -2);
    EXPECT_TRUE(RectIs(piece.blocks[2]->rect, WellRect(-4, -2)));
    ReleasePiece(piece);
}

TEST_F(PieceMoving, ABlockMovesItsRectangleWithItsCell) {
    Piece piece = {};
    BuildPiece(piece, SquareKind, BoardPanelRect, 0, 0);

    piece.blocks[0]->MoveTo(9, 19);

    EXPECT_EQ(piece.blocks[0]->col, 9);
    EXPECT_EQ(piece.blocks[0]->row, 19);
    EXPECT_TRUE(RectIs(piece.blocks[0]->rect, 156, 360, 172, 376));
    ReleasePiece(piece);
}

TEST_F(PieceRelease, ReleasingFreesEveryBlockAndClearsTheRecord) {
    Piece piece = {};
    BuildPiece(piece, BarKind, TestFrame, 2, 1);

    ReleasePiece(piece);

    EXPECT_EQ(BlocksAlive(), 0);
    EXPECT_EQ(BrushesAlive(), 0);
    EXPECT_EQ(piece.x, 0);
    EXPECT_EQ(piece.y, 0);
    EXPECT_EQ(piece.width, 0);
    EXPECT_EQ(piece.height, 0);
    EXPECT_EQ(piece.evenSpanFix, 0);
    for (const Block* block : piece.blocks) EXPECT_EQ(block, nullptr);
}

TEST_F(PieceRelease, ReleasingTwiceFreesNothingTheSecondTime) {
    Piece piece = {};
    Piece other = {};
    BuildPiece(piece, 2, TestFrame, 2, 1);
    BuildPiece(other, 2, TestFrame, 2, 1);
    ReleasePiece(piece);

    ReleasePiece(piece);

    EXPECT_EQ(BlocksAlive(), 4);
    EXPECT_EQ(BrushesAlive(), 4);
    ReleasePiece(other);
}

TEST_F(PieceRelease, ACopyOfTheRecordTakesTheBlocksOver) {
    Piece next = {};
    BuildPiece(next, 0, TestFrame, 2, 1);

    Piece current = next;
    next = Piece{};
    current.PlaceAndMove(BoardPanelRect, 5, 0);

    EXPECT_EQ(BlocksAlive(), 4);
    ReleasePiece(current);
    ReleasePiece(next);
    EXPECT_EQ(BlocksAlive(), 0);
}

}  // namespace
