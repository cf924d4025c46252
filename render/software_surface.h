#pragma once
// The software implementation of the drawing layer: a plain buffer of
// 32-bit pixels, each a Colour (0x00BBGGRR, so bytes R, G, B, 0 in memory).

#include <cstdint>

#include "render/surface.h"

struct Surface {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
};

// Brushes and pens created and not yet deleted, for leak checks.
int LiveBrushCount();
int LivePenCount();
