#pragma once
// The well: the grid into which landed pieces are locked.

#include <cstdint>

#include "game/block.h"

constexpr int32_t BoardColumns = 10;
constexpr int32_t BoardRows = 20;

// Owns every Block it holds; null marks an empty cell. Cell (col, row) is
// element col * 20 + row.
struct Board {
    Block* cells[BoardColumns * BoardRows];

    Block*& At(int32_t col, int32_t row) { return cells[col * BoardRows + row]; }
};

extern Board board;

// True when (col, row) lies inside the well and holds no Block. Negative
// coordinates count as outside.
uint8_t IsCellFree(int32_t col, int32_t row);
void ClearBoard();
// Hands the current piece's Blocks to the well; the piece no longer holds any.
void LockPiece();
// Blinks and removes up to four full rows; the rows above drop as whole rows.
// Returns how many rows went.
int32_t ClearFullRows();
// The blink: 2 x count phases of 500 / (2 x count) ms, each toggling the rows'
// raised flags and redrawing. Gravity pauses meanwhile and restarts after.
void FlashRows(int32_t count, const int32_t* rows);
