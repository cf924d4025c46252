#pragma once
// The drawing layer the game paints through. Two implementations exist and
// the build links exactly one: a software pixel buffer (software_surface.cpp,
// used by the native shell, the tests and the tools) and GDI (the Win32
// shell). Both must produce the same pixels.

#include <cstdint>

// A colour as 0x00BBGGRR.
using Colour = uint32_t;

// Left, top, right, bottom in client pixels; right and bottom exclusive.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// A place to draw into: the window's client area or an off-screen image.
// Each implementation defines it for itself.
struct Surface;

// Opaque handles owned by the drawing layer; zero means none.
struct Brush {
    uintptr_t handle;
};
struct Pen {
    uintptr_t handle;
};

Brush CreateBrush(Colour colour);
void DeleteBrush(Brush brush);
// A solid pen one pixel wide.
Pen CreatePen1(Colour colour);
void DeletePen(Pen pen);

// Fills rect with the brush; right and bottom are exclusive.
void FillWithBrush(Surface* surface, const Rect& rect, Brush brush);
// A one-pixel line that covers its start point and stops one pixel short of
// its end point.
void DrawLineWithPen(Surface* surface, Pen pen, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
// Draws the glyph of a decimal digit unscaled with its top-left corner at
// (x, y); only its opaque 13 x 23 block is painted. A glyph that cannot be
// had is not drawn.
void DrawDigitGlyph(Surface* surface, int digit, int32_t x, int32_t y);

// An off-screen image of width x height in the target's format.
Surface* CreateOffscreenSurface(Surface* target, int32_t width, int32_t height);
// Copies the whole off-screen image to the target at (0, 0) in one transfer.
void CopyToTarget(Surface* target, Surface* offscreen);
void DeleteOffscreenSurface(Surface* offscreen);
