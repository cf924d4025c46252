#include "render/software_surface.h"

#include <cstdlib>
#include <cstring>

#include "render/glyphs.h"

// A brush or pen is its colour with a marker bit, so that no handle is zero
// and nothing needs allocating; the live counts catch what is never deleted.
namespace {

constexpr uintptr_t HandleMarker = uintptr_t{1} << 24;
int liveBrushes = 0;
int livePens = 0;

Colour ColourOf(uintptr_t handle) { return static_cast<Colour>(handle & 0xFFFFFF); }

void PutPixel(Surface* surface, int32_t x, int32_t y, Colour colour) {
    if (x < 0 || y < 0 || x >= surface->width || y >= surface->height) return;
    surface->pixels[y * surface->width + x] = colour;
}

}  // namespace

Brush CreateBrush(Colour colour) {
    ++liveBrushes;
    return {HandleMarker | (colour & 0xFFFFFF)};
}

void DeleteBrush(Brush brush) {
    if (brush.handle != 0) --liveBrushes;
}

Pen CreatePen1(Colour colour) {
    ++livePens;
    return {HandleMarker | (colour & 0xFFFFFF)};
}

void DeletePen(Pen pen) {
    if (pen.handle != 0) --livePens;
}

int LiveBrushCount() { return liveBrushes; }
int LivePenCount() { return livePens; }

void FillWithBrush(Surface* surface, const Rect& rect, Brush brush) {
    const int32_t left = rect.left < 0 ? 0 : rect.left;
    const int32_t top = rect.top < 0 ? 0 : rect.top;
    const int32_t right = rect.right > surface->width ? surface->width : rect.right;
    const int32_t bottom = rect.bottom > surface->height ? surface->height : rect.bottom;
    if (left >= right) return;
    const Colour colour = ColourOf(brush.handle);
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = surface->pixels + y * surface->width;
        for (int32_t x = left; x < right; ++x) row[x] = colour;
    }
}

// Only the lines a bevel needs are ever drawn: horizontal and vertical ones.
void DrawLineWithPen(Surface* surface, Pen pen, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    const Colour colour = ColourOf(pen.handle);
    const int32_t stepX = toX > fromX ? 1 : (toX < fromX ? -1 : 0);
    const int32_t stepY = toY > fromY ? 1 : (toY < fromY ? -1 : 0);
    int32_t x = fromX;
    int32_t y = fromY;
    while (x != toX || y != toY) {
        PutPixel(surface, x, y, colour);
        if (x != toX) x += stepX;
        if (y != toY) y += stepY;
    }
}

void DrawDigitGlyph(Surface* surface, int digit, int32_t x, int32_t y) {
    if (digit < 0 || digit > 9) return;
    for (int gy = 0; gy < 23; ++gy) {
        for (int gx = 0; gx < 13; ++gx) PutPixel(surface, x + gx, y + gy, DigitGlyphPixel(digit, gx, gy));
    }
}

Surface* CreateOffscreenSurface(Surface*, int32_t width, int32_t height) {
    Surface* offscreen = static_cast<Surface*>(std::malloc(sizeof(Surface)));
    if (offscreen == nullptr) return nullptr;
    offscreen->width = width;
    offscreen->height = height;
    offscreen->pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, sizeof(uint32_t)));
    return offscreen;
}

void CopyToTarget(Surface* target, Surface* offscreen) {
    const int32_t width = offscreen->width < target->width ? offscreen->width : target->width;
    const int32_t height = offscreen->height < target->height ? offscreen->height : target->height;
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(target->pixels + y * target->width, offscreen->pixels + y * offscreen->width,
                    static_cast<size_t>(width) * sizeof(uint32_t));
    }
}

void DeleteOffscreenSurface(Surface* offscreen) {
    if (offscreen == nullptr) return;
    std::free(offscreen->pixels);
    std::free(offscreen);
}
