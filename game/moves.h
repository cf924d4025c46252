#pragma once
// The player's five actions and the two held-key timer handlers.

enum MoveAction : int {
    MoveLeft = 0,
    MoveRight = 1,
    MoveDown = 2,
    RotateAnticlockwise = 3,
    RotateClockwise = 4
};

// Carries out one action on the current piece; a move that does not fit is
// refused silently, except down, which lands the piece. Callers check playing.
void PerformAction(int action);
// Serves held Up, Right and Left, in that order; stops the repeat timer once
// none of them is held. Runs on the key press and every 150 ms after.
void HandleHeldKeys();
// Every 50 ms while Down is held: one row down, and gravity starts afresh.
void SoftDropTick();
