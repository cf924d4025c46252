#pragma once
// FLTK key codes as the game's virtual-key codes.

#include <cstdint>

// The virtual-key code of an FLTK key (Fl::event_key()), or 0 for a key the
// game never sees.
uint32_t VirtualKeyFor(int flKey);
