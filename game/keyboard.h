#pragma once
// The game's keyboard model. Shells translate their key events into
// virtual-key codes (Left 37, Up 38, Right 39, Down 40, Space 32, letters as
// upper-case ASCII) and call these; all repetition comes from the game's own
// timers, never from the keyboard's auto-repeat.

#include <cstdint>

enum VirtualKey : uint32_t {
    VkSpace = 32,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40
};

// 1 while a key is held, as far as the main window has seen.
extern uint8_t KeyDown[256];
// 1 while the held-key repeat timer runs.
extern uint8_t repeatTimerActive;

// A key-down reached the main window. Ignored unless a game is playing, and
// for a key already held (auto-repeat).
void OnKeyPressed(uint32_t code);
// A key-up reached the main window, whether or not a game is playing.
void OnKeyReleased(uint32_t code);
// The main window lost the keyboard (a dialog opened, the window was
// deactivated): its key-ups will go elsewhere, so nothing counts as held.
void ReleaseAllKeys();
