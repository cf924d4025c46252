#pragma once
// A pixel buffer to draw into and the model state a frame is composed from,
// shared by the presentation tests.

#include <cstdint>
#include <string>
#include <vector>

#include "game/block.h"
#include "render/layout.h"
#include "render/software_surface.h"

// A colour nothing in the game draws with, so untouched pixels stand out.
constexpr Colour Untouched = 0x123456;

struct Canvas {
    std::vector<uint32_t> pixels;
    Surface surface;

    explicit Canvas(int32_t width = ClientWidth, int32_t height = ClientHeight, Colour fill = Untouched)
        : pixels(static_cast<size_t>(width) * height, fill), surface{pixels.data(), width, height} {}

    Surface* dc() { return &surface; }
    Colour At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * surface.width + x]; }
};

// The catalogue colours of the seven kinds, 0x00BBGGRR.
constexpr Colour KindColours[PieceKindCount] = {0xFF00FF, 0x0000FF, 0xFFFF7F, 0x00FFFF, 0xFA0000, 0x00FA00, 0x007FFF};

// Frees every Block the model holds and zeroes the game state: the model as
// it is before the window exists.
void ClearModel();
// The model right after window creation: the seven samples, nothing else.
void SetUpIdleModel();
// Puts a Block of the kind into the well at (col, row).
void LockBlockAt(int kind, int32_t col, int32_t row, uint8_t raised = 1);
// True when the 13 x 23 block at (x, y) shows exactly the digit's glyph.
bool ShowsDigit(const Canvas& canvas, int32_t x, int32_t y, int digit);
// The digits shown in a row of count glyphs starting at (x, y), '?' for
// anything that is not a glyph.
std::string ReadDigits(const Canvas& canvas, int32_t x, int32_t y, int count);

// Compares the canvas region at (x0, y0) with a picture in rows of letters:
// L light edge, D dark edge, F fill, G panel grey, . the background colour.
void ExpectPicture(const Canvas& canvas, int32_t x0, int32_t y0, const std::vector<std::string>& rows, Colour fill = 0,
                   Colour background = Untouched);
// A 16 x 16 cell as a Block draws it: a 12 x 12 fill, a 2-pixel bevel over
// the outer two pixels, and four pixels at two corners that show what lay
// beneath.
std::vector<std::string> RaisedCell();
// The same with light and dark swapped.
std::vector<std::string> SunkenCell();
