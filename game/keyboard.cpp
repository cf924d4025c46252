#include "game/keyboard.h"

#include <cstring>

#include "game/game_state.h"
#include "game/host.h"
#include "game/moves.h"

uint8_t KeyDown[256];
uint8_t repeatTimerActive;

// Codes beyond the table are not keys the game knows; folding them into it
// would alias them onto real keys, so they are dropped.
void OnKeyPressed(uint32_t code) {
    if (code >= sizeof KeyDown) return;
    if (gameState.playing == 0) return;
    if (KeyDown[code] == 1) return;
    KeyDown[code] = 1;
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
    if (code < sizeof KeyDown) KeyDown[code] = 0;
}

void ReleaseAllKeys() { std::memset(KeyDown, 0, sizeof KeyDown); }
