#include "resources/icon_art.h"

namespace {

// 0x00BBGGRR. Every colour of the art is one of the standard 16 colours, so
// the 16-colour images show exactly what the 256-colour ones do.
constexpr uint32_t White = 0xFFFFFF;

struct BlockColour {
    uint32_t fill;
    uint32_t shade;  // the dark bottom-right edge
};

constexpr BlockColour Green = {0x00FF00, 0x008000};
constexpr BlockColour Blue = {0xFF0000, 0x800000};
constexpr BlockColour Magenta = {0xFF00FF, 0x800080};
constexpr BlockColour Red = {0x0000FF, 0x000080};

// The heap, top row first: a green upright bar of four at the left, the other
// blocks stacked beside it, two places of the top row empty.
constexpr int GridSize = 4;
constexpr const BlockColour* Heap[GridSize][GridSize] = {
    {&Green, &Blue, nullptr, nullptr},
    {&Green, &Blue, &Blue, &Magenta},
    {&Green, &Red, &Magenta, &Magenta},
    {&Green, &Red, &Red, &Magenta},
};

// The colour of pixel (x, y) of a block drawn size x size pixels: a light
// top-left edge, a dark bottom-right edge, the fill inside.
uint32_t BlockPixel(const BlockColour& colour, int size, int x, int y) {
    const int edge = size >= 12 ? 2 : 1;
    const bool topLeft = x < edge || y < edge;
    const bool bottomRight = x >= size - edge || y >= size - edge;
    if (bottomRight && !(topLeft && x + y < size - 1)) return colour.shade;
    if (topLeft) return White;
    return colour.fill;
}

bool IsDrawnSize(int size) { return size == 16 || size == 32 || size == 48; }

void DrawArt(int size, uint32_t* pixels, uint8_t* opaque) {
    const int cell = size / GridSize;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int index = y * size + x;
            const int col = x / cell;
            const int row = y / cell;
            const BlockColour* block = col < GridSize && row < GridSize ? Heap[row][col] : nullptr;
            pixels[index] = block == nullptr ? 0 : BlockPixel(*block, cell, x % cell, y % cell);
            opaque[index] = block == nullptr ? 0 : 1;
        }
    }
}

// Nearest neighbour by a whole factor: no pixel is blended with another.
void ScaleArt(int size, uint32_t* pixels, uint8_t* opaque) {
    uint32_t artPixels[ScaledIconArtSize * ScaledIconArtSize];
    uint8_t artOpaque[ScaledIconArtSize * ScaledIconArtSize];
    DrawArt(ScaledIconArtSize, artPixels, artOpaque);
    const int factor = size / ScaledIconArtSize;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int from = (y / factor) * ScaledIconArtSize + x / factor;
            pixels[y * size + x] = artPixels[from];
            opaque[y * size + x] = artOpaque[from];
        }
    }
}

}  // namespace

bool IsIconSize(int size) {
    return IsDrawnSize(size) || (size > ScaledIconArtSize && size <= LargestIconSize && size % ScaledIconArtSize == 0);
}

void RenderApplicationIcon(int size, uint32_t* pixels, uint8_t* opaque) {
    if (IsDrawnSize(size)) {
        DrawArt(size, pixels, opaque);
    } else if (IsIconSize(size)) {
        ScaleArt(size, pixels, opaque);
    }
}
