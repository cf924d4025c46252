#pragma once
// The state of the game in progress and the pieces that live for the whole run.

#include <cstdint>

#include "game/block.h"

struct GameState {
    int32_t playing;
    int32_t hasCurrent;
    int32_t hasNext;
    int32_t nextType;
    int32_t score;
    int32_t lines;
    int32_t startLevel;  // chosen in the Level menu; a reset keeps it
    int32_t level;
    int32_t counts[PieceKindCount];
};

extern GameState gameState;
extern Piece currentPiece;  // holds Blocks of its own while gameState.hasCurrent is 1
extern Piece nextPiece;     // holds Blocks of its own while gameState.hasNext is 1
// One piece of each kind, shown beside its count; built with the window.
extern Piece statisticsSamples[PieceKindCount];
