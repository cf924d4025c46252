#pragma once
// Quarter turns with the wall-kick search.

#include <cstdint>

#include "game/block.h"

// Directions are the rotation codes of MoveAction: 3 anticlockwise, 4 clockwise.
// Finds the first of the shifts 0, -1, -2, +1 at which the turned piece fits
// the well. Changes nothing.
bool FindRotationShift(const Piece& piece, int direction, int32_t* shift);
// Shifts the piece by shift columns and turns it about its origin. Only called
// with a shift that FindRotationShift has just accepted.
void RotatePiece(Piece& piece, int direction, int32_t shift);
