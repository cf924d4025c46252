// Quarter turns of a piece and the search for a shift at which the turned
// piece fits the well.

#include <gtest/gtest.h>

#include <cstdint>

#include "game/board.h"
#include "game/moves.h"
#include "game/rotation.h"
#include "model_fixture.h"

namespace {

using namespace model_test;

class Turning : public ModelTest {};
class WallKicks : public ModelTest {};

struct Cell {
    int32_t col;
    int32_t row;
};

bool PieceCoversInOrder(const Piece& piece, const Cell (&cells)[4]) {
    for (int i = 0; i < 4; ++i) {
        const Block* block = piece.blocks[i];
        if (block->col != cells[i].col || block->row != cells[i].row) return false;
        if (!RectIs(block->rect, WellRect(cells[i].col, cells[i].row))) return false;
    }
    return true;
}

// True when the piece covers exactly these cells, in any block order.
bool PieceCovers(const Piece& piece, const Cell (&cells)[4]) {
    for (const Cell& cell : cells) {
        bool found = false;
        for (const Block* block : piece.blocks) found = found || (block->col == cell.col && block->row == cell.row);
        if (!found) return false;
    }
    return true;
}

void CellsOf(const Piece& piece, Cell (&cells)[4]) {
    for (int i = 0; i < 4; ++i) cells[i] = {piece.blocks[i]->col, piece.blocks[i]->row};
}

// Turns the piece when the well lets it, as the player's turn does.
bool TryTurn(Piece& piece, int direction) {
    int32_t shift = 99;
    if (!FindRotationShift(piece, direction, &shift)) return false;
    RotatePiece(piece, direction, shift);
    return true;
}

TEST_F(Turning, ALyingBarStandsUpAndLiesDownAgainClockwise) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 3);

    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    EXPECT_TRUE(PieceCovers(bar, {{5, 2}, {5, 3}, {5, 4}, {5, 5}}));
    EXPECT_EQ(bar.width, 1);
    EXPECT_EQ(bar.height, 4);

    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    EXPECT_TRUE(PieceCovers(bar, {{4, 3}, {5, 3}, {6, 3}, {7, 3}}));
    EXPECT_EQ(bar.width, 4);
    EXPECT_EQ(bar.height, 1);
    EXPECT_EQ(bar.x, 5);
    EXPECT_EQ(bar.y, 3);
    ReleasePiece(bar);
}

TEST_F(Turning, AnticlockwiseTurnsOfTheBarGiveTheSameTwoCellSets) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 3);

    ASSERT_TRUE(TryTurn(bar, RotateAnticlockwise));
    EXPECT_TRUE(PieceCovers(bar, {{5, 2}, {5, 3}, {5, 4}, {5, 5}}));
    ASSERT_TRUE(TryTurn(bar, RotateAnticlockwise));
    EXPECT_TRUE(PieceCovers(bar, {{4, 3}, {5, 3}, {6, 3}, {7, 3}}));
    ReleasePiece(bar);
}

TEST_F(Turning, TheZigzagsFlipBetweenTwoCellSetsEitherWay) {
    Piece two = {};
    Piece three = {};
    BuildPiece(two, 2, BoardPanelRect, 4, 8);
    BuildPiece(three, 3, BoardPanelRect, 4, 8);

    ASSERT_TRUE(TryTurn(two, RotateClockwise));
    ASSERT_TRUE(TryTurn(three, RotateAnticlockwise));
    EXPECT_TRUE(PieceCovers(two, {{4, 7}, {4, 8}, {5, 8}, {5, 9}}));
    EXPECT_TRUE(PieceCovers(three, {{5, 7}, {5, 8}, {4, 8}, {4, 9}}));

    ASSERT_TRUE(TryTurn(two, RotateAnticlockwise));
    ASSERT_TRUE(TryTurn(three, RotateClockwise));
    EXPECT_TRUE(PieceCovers(two, {{4, 8}, {5, 8}, {4, 9}, {3, 9}}));
    EXPECT_TRUE(PieceCovers(three, {{4, 8}, {3, 8}, {4, 9}, {5, 9}}));
    ReleasePiece(two);
    ReleasePiece(three);
}

TEST_F(Turning, TheSquareTurnsInPlaceWithItsBlocksChangingPlaces) {
    Piece square = {};
    BuildPiece(square, SquareKind, BoardPanelRect, 8, 18);
    // Walled in on every side: only its own cells are free.
    PutBlock(7, 18);
    PutBlock(7, 19);
    PutBlock(8, 17);
    PutBlock(9, 17);
    Block* const first = square.blocks[0];

    int32_t shift = 99;
    ASSERT_TRUE(FindRotationShift(square, RotateClockwise, &shift));
    EXPECT_EQ(shift, 0);
    RotatePiece(square, RotateClockwise, shift);

    EXPECT_TRUE(PieceCovers(square, {{8, 18}, {9, 18}, {8, 19}, {9, 19}}));
    EXPECT_EQ(square.blocks[0], first);
    EXPECT_FALSE(first->col == 8 && first->row == 18) << "the Blocks exchange places";
    EXPECT_EQ(square.x, 8);
    EXPECT_EQ(square.y, 18);
    ReleasePiece(square);
}

TEST_F(Turning, FourClockwiseTurnsBringEveryBlockBack) {
    for (int kind : {0, 1, 4, 2, 3, 6}) {
        Piece piece = {};
        BuildPiece(piece, kind, BoardPanelRect, 4, 8);
        Cell start[4];
        CellsOf(piece, start);

        for (int turn = 0; turn < 4; ++turn) ASSERT_TRUE(TryTurn(piece, RotateClockwise)) << "kind " << kind;

        EXPECT_TRUE(PieceCoversInOrder(piece, start)) << "kind " << kind;
        ReleasePiece(piece);
    }
}

TEST_F(Turning, AnAnticlockwiseTurnUndoesAClockwiseOne) {
    for (int kind : {0, 1, 4, 2, 3, 6}) {
        Piece piece = {};
        BuildPiece(piece, kind, BoardPanelRect, 4, 8);
        Cell start[4];
        CellsOf(piece, start);

        ASSERT_TRUE(TryTurn(piece, RotateClockwise));
        ASSERT_TRUE(TryTurn(piece, RotateAnticlockwise));

        EXPECT_TRUE(PieceCoversInOrder(piece, start)) << "kind " << kind;
        EXPECT_EQ(piece.width, PieceTypes[kind].width);
        ReleasePiece(piece);
    }
}

TEST_F(Turning, TheTeeTurnsAboutItsOrigin) {
    Piece tee = {};
    BuildPiece(tee, TeeKind, BoardPanelRect, 5, 5);

    ASSERT_TRUE(TryTurn(tee, RotateClockwise));

    EXPECT_TRUE(PieceCoversInOrder(tee, {{5, 5}, {5, 6}, {5, 4}, {4, 5}}));
    EXPECT_EQ(tee.width, 2);
    EXPECT_EQ(tee.height, 3);
    ReleasePiece(tee);
}

TEST_F(Turning, APieceJustDealtCannotTurnUntilItHasFallenOneRow) {
    for (int kind : {0, 1, 2, 3, 4, 6}) {
        Piece piece = {};
        BuildPiece(piece, kind, BoardPanelRect, 5, 0);
        int32_t shift = 0;

        EXPECT_FALSE(FindRotationShift(piece, RotateClockwise, &shift)) << "kind " << kind;
        EXPECT_FALSE(FindRotationShift(piece, RotateAnticlockwise, &shift)) << "kind " << kind;
        piece.MoveTo(5, 1);
        EXPECT_TRUE(FindRotationShift(piece, RotateClockwise, &shift)) << "kind " << kind;
        EXPECT_EQ(shift, 0) << "kind " << kind;
        ReleasePiece(piece);
    }
}

TEST_F(WallKicks, ABarStandingInTheRightColumnLiesDownTwoColumnsLeft) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 5);
    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    bar.MoveTo(9, 5);

    int32_t shift = 0;
    ASSERT_TRUE(FindRotationShift(bar, RotateClockwise, &shift));
    EXPECT_EQ(shift, -2);
    RotatePiece(bar, RotateClockwise, shift);

    EXPECT_TRUE(PieceCovers(bar, {{6, 5}, {7, 5}, {8, 5}, {9, 5}}));
    EXPECT_EQ(bar.x, 7);
    EXPECT_EQ(bar.y, 5);
    ReleasePiece(bar);
}

TEST_F(WallKicks, ABarStandingInTheRightColumnKicksTheSameWayAnticlockwise) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 5);
    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    bar.MoveTo(9, 5);

    int32_t shift = 0;
    ASSERT_TRUE(FindRotationShift(bar, RotateAnticlockwise, &shift));
    EXPECT_EQ(shift, -2);
    RotatePiece(bar, RotateAnticlockwise, shift);

    EXPECT_TRUE(PieceCovers(bar, {{6, 5}, {7, 5}, {8, 5}, {9, 5}}));
    ReleasePiece(bar);
}

TEST_F(WallKicks, ABarStandingInTheLeftColumnLiesDownOneColumnRight) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 5);
    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    bar.MoveTo(0, 5);

    int32_t shift = 0;
    ASSERT_TRUE(FindRotationShift(bar, RotateClockwise, &shift));
    EXPECT_EQ(shift, 1);
    RotatePiece(bar, RotateClockwise, shift);

    EXPECT_TRUE(PieceCovers(bar, {{0, 5}, {1, 5}, {2, 5}, {3, 5}}));
    EXPECT_EQ(bar.x, 1);
    ReleasePiece(bar);
}

TEST_F(WallKicks, ATeeUnderABlockIsKickedOneColumnLeft) {
    Piece tee = {};
    BuildPiece(tee, TeeKind, BoardPanelRect, 5, 5);
    PutBlock(5, 4);

    int32_t shift = 0;
    ASSERT_TRUE(FindRotationShift(tee, RotateClockwise, &shift));
    EXPECT_EQ(shift, -1);
    RotatePiece(tee, RotateClockwise, shift);

    EXPECT_TRUE(PieceCoversInOrder(tee, {{4, 5}, {4, 6}, {4, 4}, {3, 5}}));
    EXPECT_EQ(tee.x, 4);
    EXPECT_EQ(tee.y, 5);
    ReleasePiece(tee);
}

TEST_F(WallKicks, TwoColumnsLeftIsTriedBeforeOneColumnRight) {
    Piece piece = {};
    BuildPiece(piece, 0, BoardPanelRect, 5, 8);
    // The turned piece needs (4, 7) in place and one column left; two left
    // and one right would both fit.
    PutBlock(4, 7);

    int32_t shift = 0;
    ASSERT_TRUE(FindRotationShift(piece, RotateClockwise, &shift));
    EXPECT_EQ(shift, -2);
    RotatePiece(piece, RotateClockwise, shift);

    EXPECT_TRUE(PieceCoversInOrder(piece, {{3, 8}, {3, 9}, {3, 7}, {2, 7}}));
    ReleasePiece(piece);
}

TEST_F(WallKicks, AWedgedPieceIsRefusedAndStaysAsItWas) {
    Piece bar = {};
    BuildPiece(bar, BarKind, BoardPanelRect, 5, 5);
    ASSERT_TRUE(TryTurn(bar, RotateClockwise));
    // A shaft one column wide: lying down needs (4, 5) or (6, 5) at every shift.
    PutBlock(4, 5);
    PutBlock(6, 5);
    Cell before[4];
    CellsOf(bar, before);

    for (int attempt = 0; attempt < 3; ++attempt) {
        int32_t shift = 42;
        EXPECT_FALSE(FindRotationShift(bar, RotateClockwise, &shift));
        EXPECT_FALSE(FindRotationShift(bar, RotateAnticlockwise, &shift));
    }

    EXPECT_TRUE(PieceCoversInOrder(bar, before));
    EXPECT_EQ(bar.width, 1);
    EXPECT_EQ(bar.height, 4);
    ReleasePiece(bar);
}

}  // namespace
