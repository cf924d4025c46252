#pragma once
// Blocks, pieces and the catalogue of the seven kinds.

#include <cstdint>

#include "render/surface.h"

// One cell of a piece, of the well or of a statistics sample. Allocated
// singly by BuildPiece and freed singly by FreeBlock; owns its brush.
struct Block {
    int32_t col;
    int32_t row;
    uint8_t raised;  // 1: drawn raised; 0: sunken. Only the row blink changes it.
    Brush brush;
    Rect rect;       // the 16 x 16 cell in client pixels, kept in step with col and row

    // Sets rect from col and row in a frame; only its left and top count.
    void PlaceInFrame(const Rect& frame);
    // Moves to another cell, shifting rect by 16 px per cell.
    void MoveTo(int32_t newCol, int32_t newRow);
};

// Four Blocks around an origin cell. A plain copy of the record hands its
// Blocks over to the copy.
struct Piece {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    uint8_t evenSpanFix;
    Block* blocks[4];

    void PlaceInFrame(const Rect& frame);
    // Moves all four Blocks so that the origin becomes (newX, newY).
    void MoveTo(int32_t newX, int32_t newY);
    // Carries the piece into another frame at a new origin, shape intact.
    void PlaceAndMove(const Rect& frame, int32_t newX, int32_t newY);
};

constexpr int PieceKindCount = 7;

struct PieceType {
    Colour colour;
    int8_t offsets[4][2];  // (column, row) of blocks[0..3] from the origin
    int32_t width;
    int32_t height;
    uint8_t evenSpanFix;
};

extern const PieceType PieceTypes[PieceKindCount];

// Fills piece with four new Blocks of the kind at origin (x, y) in frame. The
// record must hold no Blocks of its own; its old pointers are overwritten.
// A kind outside 0..6 leaves the record untouched.
void BuildPiece(Piece& piece, int type, const Rect& frame, int32_t x, int32_t y);
// Frees the Blocks the record holds and zeroes it; null pointers are skipped.
void ReleasePiece(Piece& piece);
// Deletes the Block's brush, then the Block.
void FreeBlock(Block* block);

// Blocks allocated and not yet freed, for leak checks.
int LiveBlockCount();
