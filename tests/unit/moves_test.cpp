// The player's actions and the two held-key handlers, on the virtual clock.

#include "support/game_fixture.h"

namespace {

using MoveActionTest = GameTest;
using SoftDropTest = GameTest;
using HeldKeysTest = GameTest;

// The interval of the repeat timer and of the soft-drop timer.
constexpr uint32_t RepeatMs = 150;
constexpr uint32_t SoftDropMs = 50;
constexpr int TeeKind = 4;
constexpr int LeftHookKind = 0;  // a row of three, the fourth cell under its left end

// True when blocks[0] to blocks[3] of the falling piece stand on these cells, in that order.
bool CurrentBlocksAt(const int32_t (&cells)[4][2]) {
    for (int i = 0; i < 4; ++i) {
        const Block* block = currentPiece.blocks[i];
        if (block->col != cells[i][0] || block->row != cells[i][1]) return false;
    }
    return true;
}

TEST_F(MoveActionTest, LeftMovesOneColumnAndRedraws) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 1, 6);
    const int redraws = RedrawCount();

    PerformAction(MoveLeft);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 0, 6));
    EXPECT_EQ(RedrawCount(), redraws + 1);
    for (const Block* block : currentPiece.blocks) {
        EXPECT_TRUE(SameRect(block->rect, WellCellRect(block->col, block->row)));
    }
}

TEST_F(MoveActionTest, LeftAgainstTheWallIsRefusedWithoutARedraw) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 6);
    const int redraws = RedrawCount();

    PerformAction(MoveLeft);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 0, 6));
    EXPECT_EQ(RedrawCount(), redraws);
}

TEST_F(MoveActionTest, RightIntoALockedBlockIsRefused) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 6);
    FillCell(6, 7);

    PerformAction(MoveRight);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 6));
}

TEST_F(MoveActionTest, DownOnTheFloorLandsThePiece) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 18);

    PerformAction(MoveDown);

    EXPECT_EQ(LockedBlockCount(), 4);
    EXPECT_NE(board.At(5, 19), nullptr);
    EXPECT_EQ(DealtPieceCount(), 2);
}

TEST_F(MoveActionTest, ClockwiseTurnStandsALyingBarUpright) {
    StartGame();
    PlaceCurrentPiece(BarKind, 4, 5);
    const int redraws = RedrawCount();

    PerformAction(RotateClockwise);

    for (const Block* block : currentPiece.blocks) {
        EXPECT_EQ(block->col, 4);
        EXPECT_GE(block->row, 4);
        EXPECT_LE(block->row, 7);
        EXPECT_TRUE(SameRect(block->rect, WellCellRect(block->col, block->row)));
    }
    EXPECT_EQ(RedrawCount(), redraws + 1);
}

TEST_F(MoveActionTest, AnticlockwiseTurnWorksThoughNoKeyAsksForIt) {
    StartGame();
    PlaceCurrentPiece(TeeKind, 4, 5);

    PerformAction(RotateAnticlockwise);

    // The stem under the row of three now points right; clockwise it would point left.
    const int32_t cells[4][2] = {{4, 5}, {4, 4}, {4, 6}, {5, 5}};
    EXPECT_TRUE(CurrentBlocksAt(cells));
}

TEST_F(MoveActionTest, TurnThatFitsNowhereIsRefusedWithoutARedraw) {
    StartGame();
    PlaceCurrentPiece(BarKind, 4, 18);
    for (int32_t col = 0; col < BoardColumns; ++col) FillCell(col, 19);
    for (int32_t col = 0; col < BoardColumns; ++col) FillCell(col, 17);
    const int redraws = RedrawCount();

    PerformAction(RotateClockwise);

    EXPECT_TRUE(CurrentPieceIs(BarKind, 4, 18));
    EXPECT_EQ(RedrawCount(), redraws);
}

TEST_F(MoveActionTest, ActionWithoutAPieceDoesNothing) {
    PerformAction(MoveLeft);
    PerformAction(MoveDown);
    PerformAction(RotateClockwise);
    PerformAction(7);

    EXPECT_EQ(RedrawCount(), 0);
    EXPECT_EQ(LockedBlockCount(), 0);
}

TEST_F(SoftDropTest, HeldDownMovesOneRowPer50MsAndGravityWaits) {
    StartGame(9);
    PlaceCurrentPiece(SquareKind, 4, 0);
    OnKeyPressed(VkDown);

    AdvanceClock(SoftDropMs - 1);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));
    AdvanceClock(1);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 1));
    // Level 9 gravity would step every 100 ms; ten more ticks move exactly ten rows.
    AdvanceClock(10 * SoftDropMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 11));
    EXPECT_EQ(TimerDueIn(GravityTimer), 100u);
}

TEST_F(SoftDropTest, TapShorterThan50MsMovesNothing) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    const int redraws = RedrawCount();

    OnKeyPressed(VkDown);
    AdvanceClock(30);
    OnKeyReleased(VkDown);
    AdvanceClock(20);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));
    EXPECT_EQ(RedrawCount(), redraws);
    EXPECT_FALSE(TimerRunning(SoftDropTimer));
    EXPECT_EQ(TimerDueIn(GravityTimer), 950u);
}

TEST_F(SoftDropTest, NextPieceFollowsAtTheSamePaceWhileDownIsHeld) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 17);
    const int comingKind = gameState.nextType;
    OnKeyPressed(VkDown);

    AdvanceClock(2 * SoftDropMs);  // one row down, then the landing
    ASSERT_EQ(LockedBlockCount(), 4);
    EXPECT_TRUE(CurrentPieceIs(comingKind, 5, 0));

    AdvanceClock(3 * SoftDropMs);
    EXPECT_TRUE(CurrentPieceIs(comingKind, 5, 3));
}

TEST_F(SoftDropTest, GravityResumesOneFullIntervalAfterRelease) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    OnKeyPressed(VkDown);
    AdvanceClock(2 * SoftDropMs);
    OnKeyReleased(VkDown);

    AdvanceClock(SoftDropMs);  // this tick finds Down released
    EXPECT_FALSE(TimerRunning(SoftDropTimer));
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 2));

    AdvanceClock(1000 - SoftDropMs - 1);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 2));
    AdvanceClock(1);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 3));
}

TEST_F(SoftDropTest, GameEndingUnderHeldDownLocksNothingMore) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);
    OnKeyPressed(VkDown);

    AdvanceClock(SoftDropMs);
    ASSERT_EQ(gameState.playing, 0);
    const int locked = LockedBlockCount();
    const int redraws = RedrawCount();
    const int32_t dealtRow = currentPiece.blocks[0]->row;

    AdvanceClock(20 * SoftDropMs);
    EXPECT_EQ(LockedBlockCount(), locked);
    EXPECT_EQ(RedrawCount(), redraws);
    EXPECT_EQ(currentPiece.blocks[0]->row, dealtRow);
    EXPECT_EQ(gameState.score, 0);
    EXPECT_TRUE(TimerRunning(SoftDropTimer));

    OnKeyReleased(VkDown);
    AdvanceClock(SoftDropMs);
    EXPECT_FALSE(TimerRunning(SoftDropTimer));
}

TEST_F(HeldKeysTest, RightHeldAgainstTheWallRedrawsNothingAndKeepsTrying) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 8, 5);
    const int redraws = RedrawCount();

    OnKeyPressed(VkRight);
    AdvanceClock(4 * RepeatMs);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 8, 5));
    EXPECT_EQ(RedrawCount(), redraws);
    EXPECT_TRUE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 1);
}

TEST_F(HeldKeysTest, RightHeldMovesOneColumnPerTick) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 2, 18);  // resting on the floor, which does not hold it back

    OnKeyPressed(VkRight);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 18));
    AdvanceClock(3 * RepeatMs);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 6, 18));
}

TEST_F(HeldKeysTest, UpAndRightHeldTurnClockwiseFirstThenMove) {
    StartGame();
    PlaceCurrentPiece(LeftHookKind, 8, 5);  // against the right wall
    OnKeyPressed(VkRight);                  // refused; the repeat timer runs on
    OnKeyPressed(VkUp);

    AdvanceClock(RepeatMs);

    // Standing in column 8 after the turn, the piece has room to move right.
    const int32_t cells[4][2] = {{9, 5}, {9, 6}, {9, 4}, {8, 4}};
    EXPECT_TRUE(CurrentBlocksAt(cells));
}

TEST_F(HeldKeysTest, LeftAndRightHeldTogetherAgainstTheRightWallStepLeftOnce) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 8, 5);
    OnKeyPressed(VkRight);
    OnKeyPressed(VkLeft);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 8, 5));
    const int redraws = RedrawCount();

    AdvanceClock(RepeatMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 7, 5));
    EXPECT_EQ(RedrawCount(), redraws + 1);

    // From then on each tick goes right and back left, two redraws a tick.
    AdvanceClock(2 * RepeatMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 7, 5));
    EXPECT_EQ(RedrawCount(), redraws + 5);
}

TEST_F(HeldKeysTest, RepeatTimerStopsOnceNothingIsHeldAndTheNextPressActsAtOnce) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);
    OnKeyPressed(VkLeft);
    AdvanceClock(RepeatMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 2, 5));
    OnKeyReleased(VkLeft);

    AdvanceClock(RepeatMs);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 2, 5));

    OnKeyPressed(VkRight);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 5));
    EXPECT_TRUE(TimerRunning(RepeatTimer));
}

TEST_F(HeldKeysTest, UpHeldTurnsTheSquareInPlaceEveryTick) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);
    const int redraws = RedrawCount();

    OnKeyPressed(VkUp);
    AdvanceClock(2 * RepeatMs);

    EXPECT_EQ(RedrawCount(), redraws + 3);
    bool covered[2][2] = {};
    for (const Block* block : currentPiece.blocks) {
        ASSERT_GE(block->col, 4);
        ASSERT_LE(block->col, 5);
        ASSERT_GE(block->row, 5);
        ASSERT_LE(block->row, 6);
        covered[block->col - 4][block->row - 5] = true;
    }
    EXPECT_TRUE(covered[0][0] && covered[0][1] && covered[1][0] && covered[1][1]);
}

TEST_F(HeldKeysTest, UpHeldFlipsTheBarBetweenItsTwoForms) {
    StartGame();
    PlaceCurrentPiece(BarKind, 4, 5);

    OnKeyPressed(VkUp);
    const int32_t uprightCol = currentPiece.blocks[0]->col;
    for (const Block* block : currentPiece.blocks) EXPECT_EQ(block->col, uprightCol);
    AdvanceClock(RepeatMs);

    EXPECT_TRUE(CurrentPieceIs(BarKind, 4, 5));
}

TEST_F(HeldKeysTest, NothingHappensOnATickWhileNoGameIsPlaying) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);
    KeyDown[VkLeft] = 1;
    gameState.playing = 0;
    const int redraws = RedrawCount();

    HandleHeldKeys();

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 5));
    EXPECT_EQ(RedrawCount(), redraws);
}

}  // namespace
