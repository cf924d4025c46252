#include "game/rotation.h"

#include "game/board.h"
#include "game/moves.h"

namespace {

struct Offset {
    int32_t dc;
    int32_t dr;
};

// The even-span kinds are pushed one cell further when the span the turn
// tests is even, so that they flip between two cell sets instead of wobbling.
int32_t ExtraFor(const Piece& piece, int direction) {
    const int32_t span = direction == RotateAnticlockwise ? piece.width : piece.height;
    return piece.evenSpanFix == 1 && span % 2 == 0 ? 1 : 0;
}

Offset Turned(Offset offset, int direction, int32_t extra) {
    if (direction == RotateAnticlockwise) return {offset.dr, -offset.dc + extra};
    return {-offset.dr + extra, offset.dc};
}

Offset OffsetOf(const Piece& piece, const Block* block) { return {block->col - piece.x, block->row - piece.y}; }

}  // namespace

bool FindRotationShift(const Piece& piece, int direction, int32_t* shift) {
    static const int32_t shifts[4] = {0, -1, -2, 1};
    const int32_t extra = ExtraFor(piece, direction);
    for (int32_t candidate : shifts) {
        bool fits = true;
        for (const Block* block : piece.blocks) {
            const Offset turned = Turned(OffsetOf(piece, block), direction, extra);
            if (!IsCellFree(piece.x + candidate + turned.dc, piece.y + turned.dr)) {
                fits = false;
                break;
            }
        }
        if (fits) {
            *shift = candidate;
            return true;
        }
    }
    return false;
}

void RotatePiece(Piece& piece, int direction, int32_t shift) {
    piece.MoveTo(piece.x + shift, piece.y);
    const int32_t extra = ExtraFor(piece, direction);
    for (Block* block : piece.blocks) {
        const Offset turned = Turned(OffsetOf(piece, block), direction, extra);
        block->MoveTo(piece.x + turned.dc, piece.y + turned.dr);
    }
    const int32_t width = piece.width;
    piece.width = piece.height;
    piece.height = width;
}
