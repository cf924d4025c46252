#include "render/software_surface.h"

#include <algorithm>
#include <cstddef>
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
    if (left >= right || top >= bottom) return;
    // The first row is painted pixel by pixel, the others copied from it,
    // which the C library does many pixels at a time.
    uint32_t* first = surface->pixels + static_cast<size_t>(top) * surface->width + left;
    const size_t count = static_cast<size_t>(right - left);
    std::fill_n(first, count, ColourOf(brush.handle));
    for (int32_t y = top + 1; y < bottom; ++y) {
        std::memcpy(first + static_cast<size_t>(y - top) * surface->width, first, count * sizeof(uint32_t));
    }
}

namespace {

struct Span {
    int32_t first;
    int32_t last;
};

// The pixels a line from `from` towards `to` covers, start included and end
// excluded, either way round, clipped to 0..limit-1; empty when first > last.
Span CoveredSpan(int32_t from, int32_t to, int32_t limit) {
    Span span = {from < to ? from : to + 1, from < to ? to - 1 : from};
    if (span.first < 0) span.first = 0;
    if (span.last >= limit) span.last = limit - 1;
    return span;
}

void DrawRow(Surface* surface, Colour colour, int32_t y, int32_t fromX, int32_t toX) {
    if (y < 0 || y >= surface->height) return;
    const Span span = CoveredSpan(fromX, toX, surface->width);
    if (span.first > span.last) return;
    std::fill_n(surface->pixels + static_cast<size_t>(y) * surface->width + span.first, span.last - span.first + 1,
                colour);
}

void DrawColumn(Surface* surface, Colour colour, int32_t x, int32_t fromY, int32_t toY) {
    if (x < 0 || x >= surface->width) return;
    const Span span = CoveredSpan(fromY, toY, surface->height);
    if (span.first > span.last) return;
    uint32_t* pixel = surface->pixels + static_cast<size_t>(span.first) * surface->width + x;
    for (int32_t y = span.first; y <= span.last; ++y, pixel += surface->width) *pixel = colour;
}

}  // namespace

void DrawLineWithPen(Surface* surface, Pen pen, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    const Colour colour = ColourOf(pen.handle);
    if (fromX == toX && fromY == toY) return;
    if (fromY == toY) {
        DrawRow(surface, colour, fromY, fromX, toX);
        return;
    }
    if (fromX == toX) {
        DrawColumn(surface, colour, fromX, fromY, toY);
        return;
    }
    // Slanted lines are never drawn by the game; they are stepped one pixel
    // at a time towards the end point, which they do not cover.
    const int32_t stepX = toX > fromX ? 1 : -1;
    const int32_t stepY = toY > fromY ? 1 : -1;
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
    if (width <= 0 || height <= 0) return nullptr;
    Surface* offscreen = static_cast<Surface*>(std::malloc(sizeof(Surface)));
    if (offscreen == nullptr) return nullptr;
    offscreen->width = width;
    offscreen->height = height;
    offscreen->pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, sizeof(uint32_t)));
    // An image without pixels would take every later drawing call down with it.
    if (offscreen->pixels == nullptr) {
        std::free(offscreen);
        return nullptr;
    }
    return offscreen;
}

void CopyToTarget(Surface* target, Surface* offscreen) {
    const int32_t width = offscreen->width < target->width ? offscreen->width : target->width;
    const int32_t height = offscreen->height < target->height ? offscreen->height : target->height;
    if (width <= 0 || height <= 0) return;
    if (offscreen->width == target->width) {
        std::memcpy(target->pixels, offscreen->pixels, static_cast<size_t>(width) * height * sizeof(uint32_t));
        return;
    }
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(target->pixels + static_cast<size_t>(y) * target->width,
                    offscreen->pixels + static_cast<size_t>(y) * offscreen->width,
                    static_cast<size_t>(width) * sizeof(uint32_t));
    }
}

void DeleteOffscreenSurface(Surface* offscreen) {
    if (offscreen == nullptr) return;
    std::free(offscreen->pixels);
    std::free(offscreen);
}
