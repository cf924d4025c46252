#pragma once
// The game's keyboard model. Shells translate their key events into
// virtual-key codes (Left 37, Up 38, Right 39, Down 40, Space 32, letters as
// upper-case ASCII) and call these; all repetition comes from the game's own
// timers, never from the keyboard's auto-repeat.

#include <cstdint>

enum VirtualKey : uint32_t {
    VkPause = 19,
    VkSpace = 32,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkP = 'P'
};

// 1 while a key is held, as far as the main window has seen.
extern uint8_t KeyDown[256];
// 1 while the held-key repeat timer runs.
extern uint8_t repeatTimerActive;

// A key-down reached the main window. Ignored unless a game is playing, and
// for a key already held (auto-repeat). P and Pause pause the game or
// resume it; while it is paused the other keys start nothing.
void OnKeyPressed(uint32_t code);
// A key-up reached the main window, whether or not a game is playing.
void OnKeyReleased(uint32_t code);
// The main window lost the keyboard (a dialog opened, the window was
// deactivated): its key-ups will go elsewhere, so nothing counts as held.
void ReleaseAllKeys();
// The game paused or went on again: keys held now count as released, and
// their auto-repeats are not new presses, so each acts again only once it
// has been released and pressed anew.
void ForgetHeldKeys();
