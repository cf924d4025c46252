#include "game/keyboard.h"

#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/moves.h"

uint8_t KeyDown[256];
uint8_t repeatTimerActive;

namespace {

// Keys held when the game paused or went on again, until they are released.
uint8_t heldAcrossPause[256];

}  // namespace

// Codes beyond the table are not keys the game knows; folding them into it
// would alias them onto real keys, so they are dropped.
void OnKeyPressed(uint32_t code) {
    if (code >= sizeof KeyDown) return;
    if (gameState.playing == 0) return;
    if (KeyDown[code] == 1 || heldAcrossPause[code] == 1) return;
    KeyDown[code] = 1;
    if (code == VkP || code == VkPause) {
        if (gamePaused == 1) {
            ResumeGame();
        } else {
            PauseGame();
        }
        return;
    }
    if (gamePaused == 1) return;
    if (code == VkDown) {
        HostStartTimer(SoftDropTimer, 50, SoftDropTick);
        return;
    }
    if (repeatTimerActive == 1) return;
    repeatTimerActive = 1;
    HostStartTimer(RepeatTimer, 150, HandleHeldKeys);
    HandleHeldKeys();
}

void OnKeyReleased(uint32_t code) {
    if (code >= sizeof KeyDown) return;
    KeyDown[code] = 0;
    heldAcrossPause[code] = 0;
}

void ReleaseAllKeys() {
    std::memset(KeyDown, 0, sizeof KeyDown);
    std::memset(heldAcrossPause, 0, sizeof heldAcrossPause);
}

void ForgetHeldKeys() {
    for (size_t code = 0; code < sizeof KeyDown; ++code) {
        if (KeyDown[code] == 1) heldAcrossPause[code] = 1;
        KeyDown[code] = 0;
    }
}
