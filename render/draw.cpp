#include "render/draw.h"

#include "render/layout.h"

void DrawBevel(Surface* dc, Rect rect, int32_t thickness, uint8_t raised) {
    const Pen topLeft = CreatePen1(raised ? LightEdge : DarkEdge);
    const Pen bottomRight = CreatePen1(raised ? DarkEdge : LightEdge);
    const int32_t l = rect.left;
    const int32_t t = rect.top;
    const int32_t r = rect.right;
    const int32_t b = rect.bottom;
    // Each ring leaves its top-right and bottom-left corner to what lies
    // beneath, because every line stops one pixel short of its end.
    for (int32_t i = 0; i < thickness; ++i) {
        DrawLineWithPen(dc, topLeft, l - 1 - i, t - 1 - i, r + i, t - 1 - i);
        DrawLineWithPen(dc, topLeft, l - 1 - i, t - 1 - i, l - 1 - i, b + i);
    }
    for (int32_t i = 0; i < thickness; ++i) {
        DrawLineWithPen(dc, bottomRight, r + i, b + i, l - 1 - i, b + i);
        DrawLineWithPen(dc, bottomRight, r + i, b + i, r + i, t - 1 - i);
    }
    DeletePen(topLeft);
    DeletePen(bottomRight);
}

void DrawBlock(Surface* dc, const Block& block) {
    const Rect inner = {block.rect.left + 2, block.rect.top + 2, block.rect.right - 2, block.rect.bottom - 2};
    FillWithBrush(dc, inner, block.brush);
    DrawBevel(dc, inner, 2, block.raised);
}

// A piece record that holds no Blocks (never built, or released) shows nothing.
void DrawPiece(Surface* dc, const Piece& piece) {
    for (const Block* block : piece.blocks) {
        if (block != nullptr) DrawBlock(dc, *block);
    }
}

void DrawDigits(Surface* dc, Rect rect, int32_t value, int32_t count) {
    // Totals only grow from zero; a negative one has no digits to show.
    if (value < 0) return;
    int32_t x = rect.right - DigitWidth;
    // Peeling off one digit at a time gives the same digits as dividing by a
    // growing power of ten, without that power ever overflowing.
    int32_t remaining = value;
    for (int32_t k = 0; k < count; ++k) {
        DrawDigitGlyph(dc, remaining % 10, x, rect.top);
        remaining /= 10;
        // Nothing further left can land on the surface; stop before x wraps.
        if (x < -DigitWidth) break;
        x -= DigitWidth;
    }
}
