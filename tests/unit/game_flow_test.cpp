// The rules of a game in progress, played on the virtual clock.

#include <cstdlib>
#include <string>
#include <vector>

#include "support/game_fixture.h"

namespace {

using NewGameTest = GameTest;
using GravityTest = GameTest;
using ScoringTest = GameTest;
using GameOverTest = GameTest;

int nameEntryScore = -1;
void NoteScoreInDialog() { nameEntryScore = gameState.score; }

// The well's bottom rows 20 - n to 19 are full but for column 9, and an
// upright bar in column 9 rests on the floor: the next step completes them.
void PrepareRowsForBar(int32_t n) {
    ClearBoard();
    for (int32_t row = BoardRows - n; row < BoardRows; ++row) FillRowExcept(row, 9);
    PlaceUprightBar(9, 16);
}

TEST_F(NewGameTest, FirstGameCountsTheCurrentKindAndShowsTheNext) {
    StartGame(3);

    // Both kinds come from the generator seeded with the tick count at New.
    std::srand(VirtualNow());
    const int firstKind = std::rand() % PieceKindCount;
    const int secondKind = std::rand() % PieceKindCount;

    EXPECT_EQ(gameState.playing, 1);
    EXPECT_EQ(gameState.level, 3);
    EXPECT_EQ(gameState.counts[firstKind], 1);
    EXPECT_EQ(DealtPieceCount(), 1);
    EXPECT_TRUE(CurrentPieceIs(firstKind, 5, 0));
    EXPECT_EQ(gameState.nextType, secondKind);
    const Rect frame = NextPieceFrame(secondKind);
    for (int i = 0; i < 4; ++i) {
        const Block* block = nextPiece.blocks[i];
        EXPECT_EQ(block->col, 2 + PieceTypes[secondKind].offsets[i][0]);
        EXPECT_EQ(block->row, 1 + PieceTypes[secondKind].offsets[i][1]);
        EXPECT_EQ(block->rect.left, frame.left + CellSize * block->col);
        EXPECT_EQ(block->rect.top, frame.top + CellSize * block->row);
    }
    EXPECT_TRUE(TimerRunning(GravityTimer));
    EXPECT_EQ(TimerInterval(GravityTimer), 700u);
    EXPECT_EQ(RedrawCount(), 1);
}

// New at a tick count other than the clock's start, then again one tick
// later: neither a fixed seed nor one taken only once deals the same kinds.
TEST_F(NewGameTest, EveryNewDealsFromTheTickCountAtThatMoment) {
    for (uint32_t wait : {1345u, 1u}) {
        AdvanceClock(wait);
        NewGame();

        std::srand(VirtualNow());
        const int firstKind = std::rand() % PieceKindCount;
        const int secondKind = std::rand() % PieceKindCount;
        EXPECT_TRUE(CurrentPieceIs(firstKind, 5, 0)) << "New at " << VirtualNow();
        EXPECT_EQ(gameState.nextType, secondKind) << "New at " << VirtualNow();
    }
}

TEST_F(NewGameTest, CurrentPieceIsDrawnInItsWellCells) {
    StartGame();
    for (const Block* block : currentPiece.blocks) {
        EXPECT_TRUE(SameRect(block->rect, WellCellRect(block->col, block->row)));
    }
}

TEST_F(NewGameTest, NewDuringAGameFreesEverythingAndStartsAfresh) {
    StartGame();
    for (int32_t row = 15; row < BoardRows; ++row) FillRowExcept(row, 0);
    gameState.score = 340;
    gameState.lines = 17;
    gameState.counts[2] = 6;
    ASSERT_EQ(LiveBlockCount(), 45 + BlocksOutsideWell());

    AdvanceClock(300);
    NewGame();

    EXPECT_EQ(LockedBlockCount(), 0);
    EXPECT_EQ(LiveBlockCount(), 4 * PieceKindCount + 8);
    EXPECT_EQ(LiveBrushCount(), 4 * PieceKindCount + 8);
    EXPECT_EQ(gameState.score, 0);
    EXPECT_EQ(gameState.lines, 0);
    EXPECT_EQ(DealtPieceCount(), 1);
    EXPECT_EQ(TimerDueIn(GravityTimer), 1000u);
}

TEST_F(GravityTest, EachStepMovesThePieceOneRowWithoutRestartingTheTimer) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 3, 4);
    const int redraws = RedrawCount();

    AdvanceClock(999);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 4));
    AdvanceClock(1);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 5));
    EXPECT_EQ(RedrawCount(), redraws + 1);
    EXPECT_EQ(TimerDueIn(GravityTimer), 1000u);
    for (const Block* block : currentPiece.blocks) {
        EXPECT_TRUE(SameRect(block->rect, WellCellRect(block->col, block->row)));
    }
}

TEST_F(GravityTest, PieceOnTheFloorLandsAtTheNextStep) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 18);
    const int comingKind = gameState.nextType;
    const int redraws = RedrawCount();

    RunGravityStep();

    EXPECT_EQ(RedrawCount(), redraws + 1) << "the new piece shows at once, not at the next step";
    for (int32_t col = 0; col < 2; ++col) {
        for (int32_t row = 18; row < BoardRows; ++row) {
            ASSERT_NE(board.At(col, row), nullptr);
            EXPECT_TRUE(SameRect(board.At(col, row)->rect, WellCellRect(col, row)));
        }
    }
    EXPECT_EQ(LockedBlockCount(), 4);
    EXPECT_EQ(gameState.hasCurrent, 1);
    EXPECT_TRUE(CurrentPieceIs(comingKind, 5, 0));
    EXPECT_EQ(DealtPieceCount(), 2);
    EXPECT_EQ(gameState.playing, 1);
}

TEST_F(GravityTest, PieceOnALockedBlockLandsOnIt) {
    StartGame();
    FillCell(4, 10);
    PlaceCurrentPiece(SquareKind, 4, 7);

    RunGravityStep();
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 8)) << "one free row above the Block is still fallen into";
    RunGravityStep();

    EXPECT_NE(board.At(4, 8), nullptr);
    EXPECT_NE(board.At(5, 9), nullptr);
    EXPECT_EQ(LockedBlockCount(), 5);
}

TEST_F(GravityTest, NoStepWhileNoGameIsPlaying) {
    PlaceCurrentPiece(SquareKind, 3, 4);
    GravityTick();
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 4));
    EXPECT_EQ(RedrawCount(), 0);
}

TEST_F(ScoringTest, LandingThatClearsNothingRestartsGravity) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 18);
    AdvanceClock(300);

    PerformAction(MoveDown);

    EXPECT_EQ(LockedBlockCount(), 4);
    EXPECT_EQ(gameState.score, 0);
    EXPECT_EQ(gameState.lines, 0);
    EXPECT_EQ(TimerDueIn(GravityTimer), 1000u);
}

TEST_F(ScoringTest, ThreeRowsFromEightLinesAtLevelZeroScoreFiftyAndRaiseTheLevel) {
    StartGame();
    gameState.lines = 8;
    PrepareRowsForBar(3);

    RunGravityStep();

    EXPECT_EQ(gameState.score, 50);
    EXPECT_EQ(gameState.lines, 11);
    EXPECT_EQ(gameState.level, 1);
    EXPECT_EQ(TimerInterval(GravityTimer), 900u);
    EXPECT_EQ(TimerDueIn(GravityTimer), 900u);
    // The three rows blinked for 498 ms; the bar's fourth Block dropped to the floor.
    EXPECT_EQ(PausedMilliseconds(), 498u);
    EXPECT_EQ(LockedBlockCount(), 1);
    ASSERT_NE(board.At(9, 19), nullptr);
    EXPECT_TRUE(SameRect(board.At(9, 19)->rect, WellCellRect(9, 19)));
}

TEST_F(ScoringTest, OneRowAtLevelZeroScoresTen) {
    StartGame();
    for (int32_t col = 0; col < 6; ++col) FillCell(col, 19);
    PlaceCurrentPiece(BarKind, 7, 19);

    RunGravityStep();

    EXPECT_EQ(gameState.score, 10);
    EXPECT_EQ(gameState.lines, 1);
    EXPECT_EQ(gameState.level, 0);
    EXPECT_EQ(LockedBlockCount(), 0);
}

TEST_F(ScoringTest, FourRowsAtLevelNineScoreEightHundredAndKeepLevelNine) {
    StartGame(9);
    gameState.lines = 36;
    PrepareRowsForBar(4);

    RunGravityStep();

    EXPECT_EQ(gameState.score, 800);
    EXPECT_EQ(gameState.lines, 40);
    EXPECT_EQ(gameState.level, 9);
    EXPECT_EQ(TimerInterval(GravityTimer), 100u);
    EXPECT_EQ(LockedBlockCount(), 0);
}

TEST_F(ScoringTest, RowsAtOnceEarnTheirLineScoreTimesLevelPlusOne) {
    const int32_t pointsAtLevelTwo[] = {30, 90, 150, 240};
    for (int32_t rows = 1; rows <= 4; ++rows) {
        StartGame(2);
        PrepareRowsForBar(rows);

        RunGravityStep();

        EXPECT_EQ(gameState.lines, rows);
        EXPECT_EQ(gameState.score, pointsAtLevelTwo[rows - 1]) << rows << " rows at once";
    }
}

TEST_F(ScoringTest, StartLevelRaisedMidGameClimbsOneLevelPerClearingLanding) {
    StartGame(0);
    gameState.level = 1;
    gameState.lines = 12;
    gameState.startLevel = 5;  // what choosing "5" in the Level menu does

    const int32_t expectedLevels[] = {2, 3, 4, 5, 6, 6, 6};
    int32_t expectedScore = 0;
    for (int32_t expected : expectedLevels) {
        expectedScore += 10 * (gameState.level + 1);
        ClearBoard();
        for (int32_t col = 0; col < 6; ++col) FillCell(col, 19);
        PlaceCurrentPiece(BarKind, 7, 19);
        RunGravityStep();
        EXPECT_EQ(gameState.level, expected);
        EXPECT_EQ(gameState.score, expectedScore);
    }
    EXPECT_EQ(gameState.lines, 19);
    EXPECT_EQ(TimerInterval(GravityTimer), 400u);
}

TEST_F(ScoringTest, StartLevelLoweredMidGameKeepsTheLevel) {
    StartGame(4);
    gameState.startLevel = 0;
    for (int32_t col = 0; col < 6; ++col) FillCell(col, 19);
    PlaceCurrentPiece(BarKind, 7, 19);

    RunGravityStep();

    EXPECT_EQ(gameState.level, 4);
    EXPECT_EQ(gameState.score, 50);
}

TEST_F(GameOverTest, SpawnOnALockedBlockEndsTheGameAndOpensTheDialogForATopTenScore) {
    nameEntryScore = -1;
    SetNameEntryHandler(NoteScoreInDialog);
    StartGame();
    gameState.score = 120;
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);
    const int comingKind = gameState.nextType;

    RunGravityStep();

    EXPECT_EQ(gameState.playing, 0);
    EXPECT_EQ(NameEntryOpenCount(), 1);
    EXPECT_EQ(nameEntryScore, 120);
    EXPECT_FALSE(TimerRunning(GravityTimer));
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
    // The piece that did not fit stays in view over the well, the next one too.
    EXPECT_EQ(gameState.hasCurrent, 1);
    EXPECT_EQ(gameState.hasNext, 1);
    EXPECT_TRUE(CurrentPieceIs(comingKind, 5, 0));
    EXPECT_EQ(gameState.score, 120);
}

// The game ends on whichever cell of the new piece is taken, and ends once
// however many are: one name-entry dialog.
TEST_F(GameOverTest, AnyTakenCellOfTheNewPieceEndsTheGameWithOneDialog) {
    SetTenthScore(100);
    const std::vector<int> takenBlocks[] = {{1}, {2}, {3}, {0, 1, 2, 3}};
    for (const std::vector<int>& taken : takenBlocks) {
        StartGame();
        gameState.score = 150;
        PlaceCurrentPiece(SquareKind, 0, 18);
        const auto& offsets = PieceTypes[gameState.nextType].offsets;  // of the piece dealt at (5, 0)
        for (int k : taken) FillCell(5 + offsets[k][0], offsets[k][1]);
        const int dialogs = NameEntryOpenCount();

        RunGravityStep();

        EXPECT_EQ(gameState.playing, 0) << taken.size() << " taken, the first being block " << taken[0];
        EXPECT_EQ(NameEntryOpenCount(), dialogs + 1) << taken.size() << " taken, the first being block " << taken[0];
    }
}

TEST_F(GameOverTest, ScoreOutsideTheTopTenEndsTheGameWithoutADialog) {
    SetTenthScore(500);
    StartGame();
    gameState.score = 499;
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);

    RunGravityStep();

    EXPECT_EQ(gameState.playing, 0);
    EXPECT_EQ(NameEntryOpenCount(), 0);
    EXPECT_FALSE(TimerRunning(GravityTimer));
}

TEST_F(GameOverTest, ScoreEqualToTheTenthDoesNotOpenTheDialog) {
    SetTenthScore(500);
    StartGame();
    gameState.score = 500;
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);

    RunGravityStep();

    EXPECT_EQ(gameState.playing, 0);
    EXPECT_EQ(NameEntryOpenCount(), 0);
}

TEST_F(GameOverTest, ScoreOneAboveTheTenthOpensTheDialog) {
    SetTenthScore(500);
    StartGame();
    gameState.score = 501;
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);

    RunGravityStep();

    EXPECT_EQ(NameEntryOpenCount(), 1);
}

TEST_F(GameOverTest, NothingMovesAfterTheEndAndNewReleasesTheStrandedPiece) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);
    RunGravityStep();
    ASSERT_EQ(gameState.playing, 0);
    const int redraws = RedrawCount();

    AdvanceClock(5000);
    GravityTick();
    EXPECT_EQ(RedrawCount(), redraws);
    EXPECT_EQ(currentPiece.blocks[0]->row, 0);

    NewGame();
    EXPECT_EQ(gameState.playing, 1);
    EXPECT_EQ(LockedBlockCount(), 0);
    EXPECT_EQ(LiveBlockCount(), 4 * PieceKindCount + 8);
}

TEST_F(GameOverTest, FullTopRowsAwayFromTheSpawnCellsDoNotEndTheGame) {
    StartGame();
    for (int32_t row = 0; row < 2; ++row) {
        for (int32_t col = 0; col < BoardColumns; ++col) {
            if (col < 4 || col > 7) FillCell(col, row);
        }
    }
    PlaceCurrentPiece(SquareKind, 0, 18);

    RunGravityStep();

    EXPECT_EQ(gameState.playing, 1);
}

// The pause, however it comes and goes: nothing moves and no timer runs
// while it lasts; going on gives gravity a full interval and acts on no key
// held from before; "New" ends it with a fresh game.
struct PauseCase {
    const char* name;
    uint32_t pauseKey;  // 0: the window is left instead, twice over
    uint32_t goOnKey;   // 0: "New" instead
};

class PausedGameTest : public GameTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PausedGameTest, NothingMovesUntilTheGameGoesOnAFullGravityIntervalLater) {
    const PauseCase& pause = GetParam();
    PauseGame();  // no game yet
    StartGame(3);
    EXPECT_EQ(gamePaused, 0);
    PlaceCurrentPiece(SquareKind, 4, 5);
    OnKeyPressed(VkLeft);
    OnKeyPressed(VkDown);
    AdvanceClock(120);
    const int redraws = RedrawCount();
    for (int twice = 0; twice < 2; ++twice) pause.pauseKey ? OnKeyPressed(pause.pauseKey) : PauseGame();
    EXPECT_TRUE(gamePaused == 1 && ShownPaused());
    for (const int timer : {GravityTimer, RepeatTimer, SoftDropTimer}) EXPECT_FALSE(TimerRunning(timer)) << timer;
    for (const uint32_t key : {VkLeft, VkRight, VkUp, VkDown}) OnKeyPressed(key);
    AdvanceClock(5000);
    EXPECT_EQ(RedrawCount(), redraws);

    OnKeyReleased(pause.pauseKey);
    pause.goOnKey ? OnKeyPressed(pause.goOnKey) : NewGame();
    EXPECT_TRUE(gamePaused == 0 && !ShownPaused());
    if (pause.goOnKey == 0) return;
    EXPECT_EQ(TimerDueIn(GravityTimer), 700u);
    OnKeyPressed(VkLeft);  // auto-repeats of keys held across the pause
    OnKeyPressed(pause.goOnKey);
    AdvanceClock(700);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 8));
    OnKeyReleased(VkLeft);
    OnKeyPressed(VkLeft);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 2, 8));
}

INSTANTIATE_TEST_SUITE_P(WaysToPauseAndGoOn, PausedGameTest,
                         ::testing::Values(PauseCase{"PThenP", VkP, VkP}, PauseCase{"PauseThenPause", VkPause, VkPause},
                                           PauseCase{"WindowLeftThenP", 0, VkP}, PauseCase{"PThenNew", VkP, 0}),
                         [](const ::testing::TestParamInfo<PauseCase>& info) { return std::string(info.param.name); });

}  // namespace
