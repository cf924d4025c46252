#include "shell/common/window_events.h"

#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "scores/high_scores.h"

void OnMainWindowCreated() {
    BuildStatisticsSamples();
    if (!LoadHighScores()) ResetHighScores();
}

void ShutdownGame() {
    HostStopTimer(GravityTimer);
    if (repeatTimerActive) HostStopTimer(RepeatTimer);
    ReleaseAllBlocks();
}

void AcceptNameEntry(const char* typedName) {
    char name[HighScoreNameSize] = {};
    std::strncpy(name, typedName, HighScoreNameSize - 1);
    InsertHighScore(gameState.score, name);
    SaveHighScores();
}

void ResetAndSaveHighScores() {
    ResetHighScores();
    SaveHighScores();
}
