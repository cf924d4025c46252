#pragma once
// The drawing operations from which every frame is composed.

#include <cstdint>

#include "game/block.h"
#include "render/surface.h"

// thickness one-pixel rings just outside rect, lit from the top left when
// raised, from the bottom right when not. Two corner pixels of each ring are
// left unpainted.
void DrawBevel(Surface* dc, Rect rect, int32_t thickness, uint8_t raised);
// The Block's 12 x 12 fill inside a 2-pixel bevel.
void DrawBlock(Surface* dc, const Block& block);
void DrawPiece(Surface* dc, const Piece& piece);
// The lowest count decimal digits of value, right-aligned against rect's
// right edge at its top, leading zeros included.
void DrawDigits(Surface* dc, Rect rect, int32_t value, int32_t count);
