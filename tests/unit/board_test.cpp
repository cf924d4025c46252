// The well: which cells are free, locking a landed piece, and finding,
// blinking and removing full rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "game/board.h"
#include "game/game_state.h"
#include "game/host.h"
#include "model_fixture.h"

namespace {

using namespace model_test;

class WellCells : public ModelTest {};
class PieceLocking : public ModelTest {};
class RowRemoval : public ModelTest {};

// What the window showed at each redraw of a blink, for one watched cell of
// a blinking row.
struct BlinkPhase {
    uint32_t msSinceStart;
    bool gravityRunning;
    bool rowStillThere;
    int raised;
};

std::vector<BlinkPhase> phases;
uint32_t blinkStart = 0;
int32_t watchedCol = 0;
int32_t watchedRow = 0;

void RecordPhase() {
    const Block* block = board.At(watchedCol, watchedRow);
    phases.push_back({VirtualNow() - blinkStart, TimerRunning(GravityTimer), block != nullptr,
                      block != nullptr ? block->raised : -1});
}

void WatchBlink(int32_t col, int32_t row) {
    phases.clear();
    blinkStart = VirtualNow();
    watchedCol = col;
    watchedRow = row;
    SetRedrawObserver(RecordPhase);
}

// Gravity as a game would have it running before the landing.
void GravityRunningAt(int32_t level) {
    gameState.level = level;
    HostStartTimer(GravityTimer, 1000, nullptr);
}

int BlocksInWell() {
    int count = 0;
    for (const Block* cell : board.cells) count += cell != nullptr ? 1 : 0;
    return count;
}

void ExpectBlockAt(const Block* block, int32_t col, int32_t row) {
    EXPECT_EQ(board.At(col, row), block) << "cell (" << col << ", " << row << ")";
    EXPECT_EQ(block->col, col);
    EXPECT_EQ(block->row, row);
    EXPECT_TRUE(RectIs(block->rect, WellRect(col, row))) << "cell (" << col << ", " << row << ")";
}

TEST_F(WellCells, CellsBeyondTheWallsAndTheFloorAreNeverFree) {
    EXPECT_EQ(IsCellFree(-1, 0), 0);
    EXPECT_EQ(IsCellFree(10, 0), 0);
    EXPECT_EQ(IsCellFree(0, 20), 0);
    EXPECT_EQ(IsCellFree(0, -1), 0);
    EXPECT_EQ(IsCellFree(INT32_MIN, 5), 0);
    EXPECT_EQ(IsCellFree(5, INT32_MAX), 0);
}

TEST_F(WellCells, EveryCellOfAnEmptyWellIsFree) {
    EXPECT_EQ(IsCellFree(0, 0), 1);
    EXPECT_EQ(IsCellFree(9, 19), 1);
    EXPECT_EQ(IsCellFree(9, 0), 1);
    EXPECT_EQ(IsCellFree(0, 19), 1);
}

TEST_F(WellCells, ACellHoldingABlockIsNotFreeButItsNeighboursAre) {
    PutBlock(4, 12);

    EXPECT_EQ(IsCellFree(4, 12), 0);
    EXPECT_EQ(IsCellFree(3, 12), 1);
    EXPECT_EQ(IsCellFree(4, 11), 1);
}

TEST_F(WellCells, ClearingTheWellFreesEveryBlock) {
    FillRow(19);
    PutBlock(0, 0);

    ClearBoard();

    EXPECT_EQ(BlocksAlive(), 0);
    EXPECT_EQ(BrushesAlive(), 0);
    EXPECT_EQ(IsCellFree(0, 0), 1);
    EXPECT_EQ(IsCellFree(5, 19), 1);
}

TEST_F(PieceLocking, TheFourBlocksGoToTheirOwnCellsAndThePieceIsGone) {
    BuildPiece(currentPiece, TeeKind, BoardPanelRect, 5, 18);
    gameState.hasCurrent = 1;
    Block* const blocks[4] = {currentPiece.blocks[0], currentPiece.blocks[1], currentPiece.blocks[2],
                              currentPiece.blocks[3]};

    LockPiece();

    EXPECT_EQ(gameState.hasCurrent, 0);
    ExpectBlockAt(blocks[0], 5, 18);
    ExpectBlockAt(blocks[1], 6, 18);
    ExpectBlockAt(blocks[2], 4, 18);
    ExpectBlockAt(blocks[3], 5, 19);
    EXPECT_EQ(BlocksAlive(), 4);
}

TEST_F(PieceLocking, LockingOntoAnOccupiedCellFreesTheBlockThatWasThere) {
    PutBlock(6, 18);
    BuildPiece(currentPiece, TeeKind, BoardPanelRect, 5, 18);
    gameState.hasCurrent = 1;
    Block* const landing = currentPiece.blocks[1];

    LockPiece();

    EXPECT_EQ(board.At(6, 18), landing);
    EXPECT_EQ(BlocksAlive(), 4);
    EXPECT_EQ(BrushesAlive(), 4);
}

TEST_F(RowRemoval, WithoutAFullRowNothingBlinksAndGravityIsLeftAlone) {
    FillRowExcept(19, 7);
    GravityRunningAt(2);
    AdvanceClock(300);

    EXPECT_EQ(ClearFullRows(), 0);

    EXPECT_EQ(RedrawCount(), 0);
    EXPECT_EQ(PausedMilliseconds(), 0u);
    EXPECT_EQ(TimerInterval(GravityTimer), 1000u);
    EXPECT_EQ(TimerDueIn(GravityTimer), 700u);
    EXPECT_EQ(BlocksInWell(), 9);
}

TEST_F(RowRemoval, OneFullBottomRowBlinksInTwoPhasesOfQuarterSecond) {
    FillRow(19);
    GravityRunningAt(0);
    WatchBlink(0, 19);

    EXPECT_EQ(ClearFullRows(), 1);

    ASSERT_EQ(phases.size(), 2u);
    EXPECT_EQ(phases[0].msSinceStart, 250u);
    EXPECT_EQ(phases[1].msSinceStart, 500u);
    EXPECT_EQ(phases[0].raised, 0) << "first phase shows the row sunken";
    EXPECT_EQ(phases[1].raised, 1) << "the row ends raised, as it began";
    for (const BlinkPhase& phase : phases) {
        EXPECT_TRUE(phase.rowStillThere);
        EXPECT_FALSE(phase.gravityRunning);
    }
    EXPECT_EQ(RedrawCount(), 2);
    EXPECT_EQ(PausedMilliseconds(), 500u);
}

// The tick count wraps at 2^32 ms. Wherever the blink starts against the
// wrap, and however much each real pause overshoots or falls short, it lasts
// its 500 ms: neither cut short, skipped, nor stretched to a wait of 49 days.
TEST_F(RowRemoval, TheBlinkLastsItsHalfSecondAcrossTheTickCountWrap) {
    struct Case {
        uint32_t start;
        int32_t overshoot;
    };
    const Case cases[] = {
        {0xFFFFFFFFu - 600, 0}, {0xFFFFFFFFu - 300, 0},  {0xFFFFFFFFu - 10, 0}, {0xFFFFFFFFu - 260, 20},
        {0xFFFFFFFFu - 251, 1}, {0xFFFFFFFFu, 7},        {1000, -3},            {0xFFFFFFFFu - 100, -3},
    };
    for (const Case& c : cases) {
        ClearBoard();
        FillRow(19);
        ResetHeadlessHost(c.start);
        SetPauseOvershoot(c.overshoot);

        EXPECT_EQ(ClearFullRows(), 1);

        EXPECT_GE(PausedMilliseconds(), 500u) << "start " << c.start << ", overshoot " << c.overshoot;
        EXPECT_LE(PausedMilliseconds(), 500u + 2 * std::max(c.overshoot, 0)) << "start " << c.start << ", overshoot " << c.overshoot;
    }
}

TEST_F(RowRemoval, BlocksAboveARemovedRowDropOneRowAndSixteenPixels) {
    FillRow(19);
    Block* const nearFloor = PutBlock(3, 18);
    Block* const middle = PutBlock(8, 10);
    GravityRunningAt(0);

    ClearFullRows();

    ExpectBlockAt(nearFloor, 3, 19);
    ExpectBlockAt(middle, 8, 11);
    EXPECT_EQ(BlocksInWell(), 2);
    for (int32_t col = 0; col < BoardColumns; ++col) EXPECT_EQ(IsCellFree(col, 0), 1);
    EXPECT_EQ(BlocksAlive(), 2);
}

TEST_F(RowRemoval, GravityRestartsAtTheEndOfTheBlinkAtTheLevelsInterval) {
    FillRow(19);
    GravityRunningAt(3);

    ClearFullRows();

    EXPECT_TRUE(TimerRunning(GravityTimer));
    EXPECT_EQ(TimerInterval(GravityTimer), 700u);
    EXPECT_EQ(TimerDueIn(GravityTimer), 700u) << "a full interval from the end of the blink";
}

TEST_F(RowRemoval, GravityAtLevelNineRestartsAtOneHundredMilliseconds) {
    FillRow(19);
    GravityRunningAt(9);

    ClearFullRows();

    EXPECT_EQ(TimerInterval(GravityTimer), 100u);
}

TEST_F(RowRemoval, RowsSeventeenAndNineteenGoAndTheRowBetweenDropsToTheFloor) {
    FillRow(17);
    FillRowExcept(18, 4);
    FillRow(19);
    Block* const between = board.At(0, 18);
    Block* const onTop = PutBlock(2, 16);
    Block* const high = PutBlock(5, 0);
    GravityRunningAt(0);
    WatchBlink(0, 17);

    EXPECT_EQ(ClearFullRows(), 2);

    ASSERT_EQ(phases.size(), 4u);
    for (size_t i = 0; i < phases.size(); ++i) EXPECT_EQ(phases[i].msSinceStart, 125u * (i + 1));
    ExpectBlockAt(between, 0, 19);
    EXPECT_EQ(IsCellFree(4, 19), 1) << "the hole of the old row 18 stays a hole";
    ExpectBlockAt(onTop, 2, 18);
    ExpectBlockAt(high, 5, 2);
    EXPECT_EQ(BlocksInWell(), 9 + 2);
    EXPECT_EQ(BlocksAlive(), 11);
}

TEST_F(RowRemoval, FourRowsFilledByAStandingBarBlinkInEightPhasesOf62Ms) {
    for (int32_t row = 16; row <= 19; ++row) FillRowExcept(row, 9);
    Block* const above = PutBlock(1, 15);
    BuildPiece(currentPiece, BarKind, BoardPanelRect, 9, 17);
    for (int i = 0; i < 4; ++i) currentPiece.blocks[i]->MoveTo(9, 16 + i);
    gameState.hasCurrent = 1;
    LockPiece();
    GravityRunningAt(0);
    WatchBlink(9, 19);

    EXPECT_EQ(ClearFullRows(), 4);

    ASSERT_EQ(phases.size(), 8u);
    for (size_t i = 0; i < phases.size(); ++i) {
        EXPECT_EQ(phases[i].msSinceStart, 62u * (i + 1)) << "phase " << i;
        EXPECT_EQ(phases[i].raised, i % 2 == 0 ? 0 : 1) << "phase " << i;
    }
    EXPECT_EQ(PausedMilliseconds(), 496u);
    ExpectBlockAt(above, 1, 19);
    EXPECT_EQ(BlocksInWell(), 1);
    EXPECT_EQ(BlocksAlive(), 1);
}

TEST_F(RowRemoval, ABlockInRowZeroEndsInRowOneAndIsDrawnThere) {
    FillRow(19);
    Block* const top = PutBlock(6, 0);
    GravityRunningAt(0);

    ClearFullRows();

    ExpectBlockAt(top, 6, 1);
    EXPECT_EQ(IsCellFree(6, 0), 1);
    SetRedrawRendersFrame(true);
    HostRedraw();
    const uint32_t* frame = LastFrame();
    const int32_t centreX = 12 + 16 * 6 + 8;
    EXPECT_EQ(frame[(56 + 16 * 1 + 8) * ClientWidth + centreX], 0x00FA00u) << "row 1 shows the green Block";
    EXPECT_NE(frame[(56 + 16 * 0 + 8) * ClientWidth + centreX], 0x00FA00u) << "row 0 no longer does";
}

TEST_F(RowRemoval, AFullTopRowIsRemovedLikeAnyOther) {
    FillRow(0);
    PutBlock(4, 19);
    GravityRunningAt(0);
    WatchBlink(3, 0);

    EXPECT_EQ(ClearFullRows(), 1);

    EXPECT_EQ(phases.size(), 2u);
    for (int32_t col = 0; col < BoardColumns; ++col) EXPECT_EQ(IsCellFree(col, 0), 1) << "column " << col;
    EXPECT_EQ(IsCellFree(4, 19), 0);
    EXPECT_EQ(BlocksInWell(), 1);
}

TEST_F(RowRemoval, ABlockOverAHoleDropsOnlyAsFarAsItsRowAndStaysInTheAir) {
    FillRowExcept(19, 3);
    FillRow(18);
    Block* const overHole = PutBlock(3, 17);
    GravityRunningAt(0);

    EXPECT_EQ(ClearFullRows(), 1);

    ExpectBlockAt(overHole, 3, 18);
    EXPECT_EQ(IsCellFree(3, 19), 1);
}

}  // namespace
