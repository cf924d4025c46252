#pragma once
// The page's key names as the game's virtual-key codes.

#include <cstdint>

// The virtual-key code of a DOM key by its place on the keyboard
// (KeyboardEvent.code, whatever the layout), or 0 for a key the game never
// sees. The key it gave (KeyboardEvent.key, may be null) tells a keypad
// digit from the arrow it is with NumLock off.
uint32_t VirtualKeyFor(const char* domCode, const char* domKey);
