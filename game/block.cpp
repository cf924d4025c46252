#include "game/block.h"

#include "render/layout.h"

const PieceType PieceTypes[PieceKindCount] = {
    {0xFF00FF, {{0, 0}, {1, 0}, {-1, 0}, {-1, 1}}, 3, 2, 0},
    {0x0000FF, {{0, 0}, {1, 0}, {-1, 0}, {1, 1}}, 3, 2, 0},
    {0xFFFF7F, {{0, 0}, {1, 0}, {0, 1}, {-1, 1}}, 3, 2, 1},
    {0x00FFFF, {{0, 0}, {-1, 0}, {0, 1}, {1, 1}}, 3, 2, 1},
    {0xFA0000, {{0, 0}, {1, 0}, {-1, 0}, {0, 1}}, 3, 2, 0},
    {0x00FA00, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 2, 2, 1},
    {0x007FFF, {{0, 0}, {1, 0}, {-1, 0}, {2, 0}}, 4, 1, 1},
};

namespace {
int liveBlocks = 0;
}

void Block::PlaceInFrame(const Rect& frame) {
    rect.left = frame.left + CellSize * col;
    rect.top = frame.top + CellSize * row;
    rect.right = rect.left + CellSize;
    rect.bottom = rect.top + CellSize;
}

void Block::MoveTo(int32_t newCol, int32_t newRow) {
    const int32_t dx = CellSize * (newCol - col);
    const int32_t dy = CellSize * (newRow - row);
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
    col = newCol;
    row = newRow;
}

void Piece::PlaceInFrame(const Rect& frame) {
    for (Block* block : blocks) block->PlaceInFrame(frame);
}

void Piece::MoveTo(int32_t newX, int32_t newY) {
    for (Block* block : blocks) block->MoveTo(block->col - x + newX, block->row - y + newY);
    x = newX;
    y = newY;
}

void Piece::PlaceAndMove(const Rect& frame, int32_t newX, int32_t newY) {
    PlaceInFrame(frame);
    MoveTo(newX, newY);
}

void BuildPiece(Piece& piece, int type, const Rect& frame, int32_t x, int32_t y) {
    if (type < 0 || type >= PieceKindCount) return;
    const PieceType& kind = PieceTypes[type];
    for (Block*& block : piece.blocks) {
        block = new Block{};
        block->raised = 1;
        ++liveBlocks;
    }
    piece.x = x;
    piece.y = y;
    for (Block* block : piece.blocks) block->brush = CreateBrush(kind.colour);
    for (int i = 0; i < 4; ++i) {
        piece.blocks[i]->col = x + kind.offsets[i][0];
        piece.blocks[i]->row = y + kind.offsets[i][1];
    }
    piece.PlaceInFrame(frame);
    piece.width = kind.width;
    piece.height = kind.height;
    piece.evenSpanFix = kind.evenSpanFix;
}

void FreeBlock(Block* block) {
    DeleteBrush(block->brush);
    delete block;
    --liveBlocks;
}

void ReleasePiece(Piece& piece) {
    for (Block*& block : piece.blocks) {
        if (block == nullptr) continue;
        FreeBlock(block);
        block = nullptr;
    }
    piece.x = 0;
    piece.y = 0;
    piece.width = 0;
    piece.height = 0;
    piece.evenSpanFix = 0;
}

int LiveBlockCount() { return liveBlocks; }
