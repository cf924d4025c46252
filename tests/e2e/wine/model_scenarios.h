#pragma once
// Model states that the render comparison draws through both surfaces. Each
// side of the comparison builds them with the same core code into its own
// copy of the model.

#include <cstdint>

enum class ModelScenario : int {
    Idle,                 // before the first game: samples and zero counts
    MidGame,              // locked Blocks of every kind, a falling and a next piece
    GameOver,             // the last piece drawn over the Blocks it overlapped
    BlinkSunken,          // two full rows in the blink's sunken phase
    BlinkRaised,          // the same rows back in the raised phase
    SixDigitScore,        // score, lines and counts past their digit counts
};

constexpr int ModelScenarioCount = 6;

// Frees whatever the model holds, then builds the scenario.
void BuildModelScenario(ModelScenario scenario);
// Frees every Block the model holds.
void ReleaseModel();
