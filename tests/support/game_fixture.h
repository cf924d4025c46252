#pragma once
// A game on the headless host: the window as the shells set it up (samples
// built, an empty Top Ten, gravity delivered by timer 1), helpers that set up
// a particular well, and a leak check when the window goes away.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "game/block.h"
#include "game/board.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "game/moves.h"
#include "game/rotation.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "scores/high_scores.h"
#include "shell/common/window_events.h"
#include "support/headless_host.h"
#include "support/score_files.h"
#include "support/scratch_directory.h"

// Kinds by their place in the catalogue.
constexpr int SquareKind = 5;
constexpr int BarKind = 6;

// Forgets everything a previous game or test left in the globals.
inline void ForgetGameGlobals() {
    std::memset(&gameState, 0, sizeof gameState);
    std::memset(&currentPiece, 0, sizeof currentPiece);
    std::memset(&nextPiece, 0, sizeof nextPiece);
    std::memset(statisticsSamples, 0, sizeof statisticsSamples);
    std::memset(board.cells, 0, sizeof board.cells);
    ReleaseAllKeys();
    repeatTimerActive = 0;
    gamePaused = 0;
}

// The pixel rectangle of well cell (col, row).
inline Rect WellCellRect(int32_t col, int32_t row) {
    return {BoardPanelRect.left + CellSize * col, BoardPanelRect.top + CellSize * row,
            BoardPanelRect.left + CellSize * (col + 1), BoardPanelRect.top + CellSize * (row + 1)};
}

inline bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Puts one locked Block into the well at (col, row), as a landing would.
inline void FillCell(int32_t col, int32_t row) {
    Piece scratch = {};
    BuildPiece(scratch, SquareKind, BoardPanelRect, col, row);
    for (int i = 1; i < 4; ++i) FreeBlock(scratch.blocks[i]);
    Block*& cell = board.At(col, row);
    if (cell != nullptr) FreeBlock(cell);
    cell = scratch.blocks[0];
}

// Fills every cell of the row but the one in column hole (-1: none).
inline void FillRowExcept(int32_t row, int32_t hole) {
    for (int32_t col = 0; col < BoardColumns; ++col) {
        if (col != hole) FillCell(col, row);
    }
}

inline int LockedBlockCount() {
    int count = 0;
    for (const Block* cell : board.cells) count += cell != nullptr ? 1 : 0;
    return count;
}

// Replaces the falling piece with one of the kind at origin (x, y).
inline void PlaceCurrentPiece(int kind, int32_t x, int32_t y) {
    if (gameState.hasCurrent) ReleasePiece(currentPiece);
    BuildPiece(currentPiece, kind, BoardPanelRect, x, y);
    gameState.hasCurrent = 1;
}

// A bar standing upright in column col, covering rows top to top + 3.
inline void PlaceUprightBar(int32_t col, int32_t top) {
    PlaceCurrentPiece(BarKind, col, top + 1);
    RotatePiece(currentPiece, RotateClockwise, 0);
}

// True when the falling piece covers exactly the cells of the kind at (x, y),
// whichever of its Blocks lies where.
inline bool CurrentPieceIs(int kind, int32_t x, int32_t y) {
    for (const auto& offset : PieceTypes[kind].offsets) {
        bool covered = false;
        for (const Block* block : currentPiece.blocks) {
            covered = covered || (block->col == x + offset[0] && block->row == y + offset[1]);
        }
        if (!covered) return false;
    }
    return true;
}

inline int DealtPieceCount() {
    int total = 0;
    for (int32_t count : gameState.counts) total += count;
    return total;
}

// Blocks the run holds besides the well's: the seven samples and both pieces.
inline int BlocksOutsideWell() {
    return 4 * PieceKindCount + 4 * (gameState.hasCurrent + gameState.hasNext);
}

// Moves the clock to the next gravity step and runs it.
inline void RunGravityStep() { AdvanceClock(TimerDueIn(GravityTimer)); }

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch.Enter();
        ResetHeadlessHost();
        ForgetGameGlobals();
        SetWindowTimerHandler(GravityTick);
        ResetHighScores();
        BuildStatisticsSamples();
    }

    void TearDown() override {
        ShutdownGame();
        EXPECT_EQ(LiveBlockCount(), 0);
        EXPECT_EQ(LiveBrushCount(), 0);
        ForgetGameGlobals();
        ResetHeadlessHost();
        scratch.Leave();
    }

    // A game that has just been dealt, at the given starting level.
    void StartGame(int32_t startLevel = 0) {
        gameState.startLevel = startLevel;
        NewGame();
    }

    // Stores a Top Ten whose tenth entry holds tenth points and every other
    // entry more, as another copy of the game would: the table in memory
    // does not know it until it is read again.
    void SetTenthScore(int32_t tenth) {
        const HighScoreTable shown = highScores;
        for (int i = 0; i < HighScoreCount; ++i) {
            highScores.entries[i].score = tenth + 100 * (HighScoreCount - 1 - i);
        }
        ASSERT_EQ(StoreTableAsItIs(highScores), 1);
        highScores = shown;
    }

    ScratchDirectory scratch;
};
