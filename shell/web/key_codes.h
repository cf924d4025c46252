#pragma once
// The page's key names as the game's virtual-key codes.

#include <cstdint>

// The virtual-key code of a DOM key (KeyboardEvent.code, which names the
// key's place on the keyboard, whatever the layout), or 0 for a key the
// game never sees.
uint32_t VirtualKeyFor(const char* domCode);
