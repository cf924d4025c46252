#include "model_scenarios.h"

#include "game/game_flow.h"
#include "game/board.h"
#include "game/game_state.h"
#include "render/layout.h"

namespace {

// Builds a piece of the kind in the well and locks it there, as a landing does.
void LockKindAt(int kind, int32_t col, int32_t row) {
    BuildPiece(currentPiece, kind, BoardPanelRect, col, row);
    gameState.hasCurrent = 1;
    LockPiece();
}

void BuildSamples() {
    BuildStatisticsSamples();
}

void DealCurrent(int kind, int32_t col, int32_t row) {
    BuildPiece(currentPiece, kind, BoardPanelRect, col, row);
    gameState.hasCurrent = 1;
}

void DealNext(int kind) {
    BuildPiece(nextPiece, kind, NextPieceFrame(kind), 2, 1);
    gameState.hasNext = 1;
    gameState.nextType = kind;
}

// The bottom rows: one piece of every kind locked, leaving holes.
void LockEveryKind() {
    LockKindAt(0, 1, 18);  // 3 wide, hook down-left
    LockKindAt(1, 5, 18);
    LockKindAt(2, 8, 16);
    LockKindAt(3, 2, 15);
    LockKindAt(4, 6, 15);
    LockKindAt(5, 0, 12);
    LockKindAt(6, 4, 13);
}

// Rows 18 and 19 full: two bars of four, two squares... as the well would
// hold them just before the blink.
void FillBottomRows() {
    LockKindAt(6, 1, 19);   // columns 0..3 of row 19
    LockKindAt(6, 5, 19);   // columns 4..7
    LockKindAt(5, 8, 18);   // columns 8..9 of rows 18 and 19
    LockKindAt(6, 1, 18);   // columns 0..3 of row 18
    LockKindAt(6, 5, 18);   // columns 4..7
    LockKindAt(3, 4, 16);   // something above the full rows
}

void SinkRow(int32_t row) {
    for (int32_t col = 0; col < BoardColumns; ++col) {
        if (Block* block = board.At(col, row)) block->raised = 0;
    }
}

}  // namespace

void ReleaseModel() {
    ReleaseAllBlocks();
    gameState = GameState{};
}

void BuildModelScenario(ModelScenario scenario) {
    ReleaseModel();
    BuildSamples();
    switch (scenario) {
    case ModelScenario::Idle:
        return;
    case ModelScenario::MidGame:
        LockEveryKind();
        DealCurrent(2, 4, 3);
        DealNext(0);
        gameState = {1, 1, 1, 0, 1230, 17, 1, 2, {3, 2, 4, 1, 2, 3, 2}};
        return;
    case ModelScenario::GameOver:
        LockEveryKind();
        LockKindAt(6, 5, 0);
        LockKindAt(4, 5, 1);
        DealCurrent(1, 5, 0);
        DealNext(4);
        gameState = {0, 1, 1, 4, 560, 9, 0, 0, {5, 6, 4, 3, 7, 2, 4}};
        return;
    case ModelScenario::BlinkSunken:
    case ModelScenario::BlinkRaised:
        FillBottomRows();
        DealNext(5);
        gameState = {1, 0, 1, 5, 80, 4, 0, 0, {1, 0, 0, 1, 0, 2, 5}};
        if (scenario == ModelScenario::BlinkSunken) {
            SinkRow(18);
            SinkRow(19);
        }
        return;
    case ModelScenario::SixDigitScore:
        LockEveryKind();
        DealCurrent(4, 5, 2);
        DealNext(6);
        gameState = {1, 1, 1, 6, 987654, 1234, 3, 9, {100, 58, 91, 47, 123, 64, 99}};
        return;
    }
}
