#include "game/moves.h"

#include "game/board.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "game/rotation.h"

namespace {

bool CurrentPieceFitsAt(int32_t dc, int32_t dr) {
    for (const Block* block : currentPiece.blocks) {
        if (!IsCellFree(block->col + dc, block->row + dr)) return false;
    }
    return true;
}

void Shift(int32_t dc, int32_t dr) {
    currentPiece.MoveTo(currentPiece.x + dc, currentPiece.y + dr);
    HostRedraw();
}

void Turn(int direction) {
    int32_t shift = 0;
    if (!FindRotationShift(currentPiece, direction, &shift)) return;
    RotatePiece(currentPiece, direction, shift);
    HostRedraw();
}

}  // namespace

void PerformAction(int action) {
    // Before the first deal and inside a landing there is no piece to act on.
    if (gameState.hasCurrent == 0) return;
    switch (action) {
        case MoveLeft:
            if (CurrentPieceFitsAt(-1, 0)) Shift(-1, 0);
            break;
        case MoveRight:
            if (CurrentPieceFitsAt(1, 0)) Shift(1, 0);
            break;
        case MoveDown:
            if (CurrentPieceFitsAt(0, 1)) {
                Shift(0, 1);
            } else {
                LandPiece();
            }
            break;
        case RotateAnticlockwise:
        case RotateClockwise:
            Turn(action);
            break;
        default:
            break;
    }
}

void HandleHeldKeys() {
    if (gameState.playing == 0) return;
    if (KeyDown[VkUp]) PerformAction(RotateClockwise);
    if (KeyDown[VkRight]) PerformAction(MoveRight);
    if (KeyDown[VkLeft]) {
        PerformAction(MoveLeft);
        return;
    }
    if (!KeyDown[VkUp] && !KeyDown[VkRight]) {
        HostStopTimer(RepeatTimer);
        repeatTimerActive = 0;
    }
}

void SoftDropTick() {
    if (KeyDown[VkDown] == 0) {
        HostStopTimer(SoftDropTimer);
        return;
    }
    if (gameState.playing == 0) return;
    PerformAction(MoveDown);
    RestartGravityTimer();
}
