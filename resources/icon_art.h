#pragma once
// The application icon's artwork, described once: a small heap of raised
// square blocks. Rendered at any of the icon's sizes for the Windows icon
// resource and for the Linux desktop's icon.

#include <cstdint>

// Fills size x size pixels (0x00BBGGRR, row by row) and a mask, 1 where the
// pixel is opaque. size is 16, 32 or 48.
void RenderApplicationIcon(int size, uint32_t* pixels, uint8_t* opaque);
