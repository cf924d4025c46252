#pragma once
// The application icon's artwork, described once: a small heap of raised
// square blocks. Rendered at any of the icon's sizes for the Windows icon
// resource and for the Linux desktop's icon.

#include <cstdint>

// The sizes the art is drawn at; larger icons are the 32-pixel art with every
// pixel a whole square, as the game's pixels are, so they stay sharp.
constexpr int ScaledIconArtSize = 32;
constexpr int LargestIconSize = 512;
bool IsIconSize(int size);

// Fills size x size pixels (0x00BBGGRR, row by row) and a mask, 1 where the
// pixel is opaque. size is 16, 32 or 48, drawn as such, or a multiple of 32
// up to 512, scaled (IsIconSize).
void RenderApplicationIcon(int size, uint32_t* pixels, uint8_t* opaque);
