#pragma once
// The artwork of the ten digit glyphs: seven-segment digits in red on black.
// The one source both the software surface and the Windows icon resources
// are made from.

#include <cstdint>

#include "render/surface.h"

constexpr int GlyphImageSize = 32;  // the stored image; only its top-left 13 x 23 is opaque

constexpr Colour GlyphBlack = 0x000000;
constexpr Colour GlyphLit = 0x0000FF;
constexpr Colour GlyphUnlit = 0x000080;

// The colour of pixel (x, y), 0 <= x < 13, 0 <= y < 23, of digit's glyph.
Colour DigitGlyphPixel(int digit, int x, int y);
