#include "game/board.h"

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"

Board board;

uint8_t IsCellFree(int32_t col, int32_t row) {
    if (static_cast<uint32_t>(col) > 9u || static_cast<uint32_t>(row) > 19u) return 0;
    return board.At(col, row) == nullptr ? 1 : 0;
}

void ClearBoard() {
    for (Block*& cell : board.cells) {
        if (cell != nullptr) FreeBlock(cell);
        cell = nullptr;
    }
}

void LockPiece() {
    for (Block* block : currentPiece.blocks) {
        Block*& cell = board.At(block->col, block->row);
        if (cell != nullptr) FreeBlock(cell);
        cell = block;
    }
    gameState.hasCurrent = 0;
}

namespace {

// Rows are examined top down, each from the left until its first hole.
int32_t FindFullRows(int32_t rows[4]) {
    int32_t count = 0;
    int32_t row = 0;
    int32_t col = 0;
    while (count < 4 && row < BoardRows) {
        if (col == BoardColumns) {
            rows[count++] = row;
            ++row;
            col = 0;
        } else if (board.At(col, row) != nullptr) {
            ++col;
        } else {
            ++row;
            col = 0;
        }
    }
    return count;
}

// Frees row j and drops everything above it by one row. Taking the rows top
// first keeps the numbers of the rows still to go valid.
void RemoveRow(int32_t j) {
    for (int32_t k = 0; k < BoardColumns; ++k) {
        FreeBlock(board.At(k, j));
        board.At(k, j) = nullptr;
        for (int32_t r = j - 1; r >= 0; --r) {
            Block* above = board.At(k, r);
            board.At(k, r + 1) = above;
            if (above != nullptr) above->MoveTo(k, r + 1);
        }
        board.At(k, 0) = nullptr;
    }
}

// Waits until the tick count reaches deadline, sleeping rather than spinning.
// The count wraps every 2^32 ms (49.7 days of uptime), so the deadline is
// compared by the signed distance to it, which stays right across the wrap.
void WaitUntil(uint32_t deadline) {
    for (int32_t left = static_cast<int32_t>(deadline - HostTickCount()); left > 0;
         left = static_cast<int32_t>(deadline - HostTickCount())) {
        HostPause(static_cast<uint32_t>(left));
    }
}

}  // namespace

int32_t ClearFullRows() {
    int32_t rows[4];
    const int32_t count = FindFullRows(rows);
    if (count > 0) FlashRows(count, rows);
    for (int32_t i = 0; i < count; ++i) RemoveRow(rows[i]);
    return count;
}

void FlashRows(int32_t count, const int32_t* rows) {
    HostStopTimer(GravityTimer);
    const int32_t phases = 2 * count;
    const uint32_t step = static_cast<uint32_t>(500 / phases);
    for (int32_t phase = 0; phase < phases; ++phase) {
        WaitUntil(HostTickCount() + step);
        for (int32_t i = 0; i < count; ++i) {
            for (int32_t k = 0; k < BoardColumns; ++k) {
                Block* block = board.At(k, rows[i]);
                block->raised = block->raised == 0 ? 1 : 0;
            }
        }
        HostRedraw();
    }
    RestartGravityTimer();
}
