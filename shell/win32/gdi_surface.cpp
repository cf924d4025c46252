#include "shell/win32/gdi_surface.h"

#include <new>

#include "resources/resource_ids.h"

namespace {

// The icon resource of each decimal digit; 107 is not used.
const int DigitIconIds[10] = {IDI_DIGIT_0, IDI_DIGIT_1, IDI_DIGIT_2, IDI_DIGIT_3, IDI_DIGIT_4,
                              IDI_DIGIT_5, IDI_DIGIT_6, IDI_DIGIT_7, IDI_DIGIT_8, IDI_DIGIT_9};

}  // namespace

Brush CreateBrush(Colour colour) { return {reinterpret_cast<uintptr_t>(CreateSolidBrush(colour))}; }

void DeleteBrush(Brush brush) {
    if (brush.handle != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(brush.handle));
}

Pen CreatePen1(Colour colour) { return {reinterpret_cast<uintptr_t>(CreatePen(PS_SOLID, 0, colour))}; }

void DeletePen(Pen pen) {
    if (pen.handle != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(pen.handle));
}

void FillWithBrush(Surface* surface, const Rect& rect, Brush brush) {
    const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
    FillRect(surface->dc, &area, reinterpret_cast<HBRUSH>(brush.handle));
}

void DrawLineWithPen(Surface* surface, Pen pen, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    const HGDIOBJ previous = SelectObject(surface->dc, reinterpret_cast<HGDIOBJ>(pen.handle));
    MoveToEx(surface->dc, fromX, fromY, nullptr);
    LineTo(surface->dc, toX, toY);
    SelectObject(surface->dc, previous);
}

// Loaded and released at each use: nothing is kept between frames.
void DrawDigitGlyph(Surface* surface, int digit, int32_t x, int32_t y) {
    if (digit < 0 || digit > 9) return;
    const HICON glyph = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(DigitIconIds[digit]), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (glyph == nullptr) return;
    // At the icon's own size: DrawIcon would stretch it to the system's icon
    // size, which grows with the DPI.
    DrawIconEx(surface->dc, x, y, glyph, 0, 0, 0, nullptr, DI_NORMAL);
    DestroyIcon(glyph);
}

// The bitmap is made compatible with the target's context, not with the
// memory context, which starts with a one-pixel monochrome bitmap.
Surface* CreateOffscreenSurface(Surface* target, int32_t width, int32_t height) {
    Surface* offscreen = new (std::nothrow) Surface{};
    if (offscreen == nullptr) return nullptr;
    offscreen->dc = CreateCompatibleDC(target->dc);
    offscreen->bitmap = CreateCompatibleBitmap(target->dc, width, height);
    offscreen->previousBitmap = SelectObject(offscreen->dc, offscreen->bitmap);
    offscreen->width = width;
    offscreen->height = height;
    return offscreen;
}

// COLORONCOLOR repeats pixels without blending them, so each is a sharp
// square; at zoom 1 the plain copy stays.
void CopyToTarget(Surface* target, Surface* offscreen) {
    if (target->zoom <= 1) {
        BitBlt(target->dc, 0, 0, offscreen->width, offscreen->height, offscreen->dc, 0, 0, SRCCOPY);
        return;
    }
    const int previousMode = SetStretchBltMode(target->dc, COLORONCOLOR);
    StretchBlt(target->dc, 0, 0, offscreen->width * target->zoom, offscreen->height * target->zoom, offscreen->dc, 0,
               0, offscreen->width, offscreen->height, SRCCOPY);
    SetStretchBltMode(target->dc, previousMode);
}

void DeleteOffscreenSurface(Surface* offscreen) {
    if (offscreen == nullptr) return;
    SelectObject(offscreen->dc, offscreen->previousBitmap);
    DeleteObject(offscreen->bitmap);
    DeleteDC(offscreen->dc);
    delete offscreen;
}
