#pragma once
// The GDI implementation of the drawing layer: a Surface is a device context,
// either the window's or an off-screen one with its own bitmap.

#include <windows.h>

#include "render/surface.h"

struct Surface {
    HDC dc;
    // Set only for off-screen surfaces: the bitmap drawn into, and what the
    // memory context held before it, to be put back before deleting.
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    int32_t width;
    int32_t height;
    // Set only for window surfaces: every pixel of an image copied here is
    // shown as a zoom x zoom square.
    int32_t zoom;
};

// A surface for a context someone else owns (BeginPaint, GetDC).
inline Surface WindowSurface(HDC dc, int32_t zoom = 1) { return Surface{dc, nullptr, nullptr, 0, 0, zoom}; }
