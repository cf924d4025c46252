#pragma once
// The rules of a game in progress: dealing, gravity, landing, scoring, levels
// and the end of a game.

#include <cstdint>

extern const int32_t LineScores[5];  // points by rows removed at once, index 1..4

void ResetGameState();
// Discards any game in progress and deals a fresh one. Allowed at any time.
void NewGame();
// The next piece enters the well at (5, 0) and a new next piece is dealt.
void AdvancePiece();
// The window's gravity timer: one row down, or landing when the piece rests.
void GravityTick();
// Lock, clear rows, score, deal, and end the game when the new piece overlaps.
void LandPiece();
void AddClearedLines(int32_t n);
// Starts gravity timer 1 afresh at (10 - level) x 100 ms.
void RestartGravityTimer();
void EndGame();

// 1 while a game that is playing waits for the player: no timer runs, the
// keys move nothing and the frame stays as it stood.
extern uint8_t gamePaused;
// Stops gravity and the held keys of a game that is playing; nothing else.
void PauseGame();
// Gravity starts a full interval afresh, so nothing falls at once; keys held
// since before act only when pressed again.
void ResumeGame();

// One piece of each kind in its frame of the statistics column; built once,
// with the window.
void BuildStatisticsSamples();
// Frees every Block the well, the current and next pieces and the samples hold.
void ReleaseAllBlocks();
