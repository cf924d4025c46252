#pragma once
// A fresh well, falling piece and game state on the headless host for the
// model tests, and the check that every Block and brush made in a test is
// freed by the time the well and the piece are given up.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "game/block.h"
#include "game/board.h"
#include "game/game_state.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "support/headless_host.h"

namespace model_test {

constexpr int BarKind = 6;
constexpr int SquareKind = 5;
constexpr int TeeKind = 4;

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHeadlessHost();
        std::memset(&gameState, 0, sizeof gameState);
        std::memset(&currentPiece, 0, sizeof currentPiece);
        std::memset(board.cells, 0, sizeof board.cells);
        blocksBefore = LiveBlockCount();
        brushesBefore = LiveBrushCount();
    }

    // What the end of the run does: the well frees its Blocks and the falling
    // piece its own. Anything still alive afterwards was lost or shared.
    void TearDown() override {
        ClearBoard();
        if (gameState.hasCurrent == 1) ReleasePiece(currentPiece);
        gameState.hasCurrent = 0;
        EXPECT_EQ(LiveBlockCount(), blocksBefore);
        EXPECT_EQ(LiveBrushCount(), brushesBefore);
        ResetHeadlessHost();
    }

    // Blocks and brushes made in this test and still alive.
    int BlocksAlive() const { return LiveBlockCount() - blocksBefore; }
    int BrushesAlive() const { return LiveBrushCount() - brushesBefore; }

    // Counted at the start, so that a leak is blamed on the test that made
    // it; with nothing leaking anywhere both are zero.
    int blocksBefore = 0;
    int brushesBefore = 0;
};

// The pixel rectangle of well cell (col, row), worked out independently of
// the code under test: the well's frame is at (12, 56).
inline Rect WellRect(int32_t col, int32_t row) {
    return {12 + 16 * col, 56 + 16 * row, 28 + 16 * col, 72 + 16 * row};
}

inline bool RectIs(const Rect& actual, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return actual.left == left && actual.top == top && actual.right == right && actual.bottom == bottom;
}

inline bool RectIs(const Rect& actual, const Rect& expected) {
    return RectIs(actual, expected.left, expected.top, expected.right, expected.bottom);
}

// Locks one Block into the well at (col, row), in its place as a landing
// would leave it, and returns it.
inline Block* PutBlock(int32_t col, int32_t row) {
    Piece scratch = {};
    BuildPiece(scratch, SquareKind, BoardPanelRect, col, row);
    for (int i = 1; i < 4; ++i) FreeBlock(scratch.blocks[i]);
    board.At(col, row) = scratch.blocks[0];
    return scratch.blocks[0];
}

inline void FillRowExcept(int32_t row, int32_t hole) {
    for (int32_t col = 0; col < BoardColumns; ++col) {
        if (col != hole) PutBlock(col, row);
    }
}

inline void FillRow(int32_t row) { FillRowExcept(row, -1); }

// The colour a brush paints, read back from a one-pixel surface.
inline Colour PaintedColour(Brush brush) {
    uint32_t pixel = 0;
    Surface surface = {&pixel, 1, 1};
    FillWithBrush(&surface, Rect{0, 0, 1, 1}, brush);
    return pixel;
}

}  // namespace model_test
