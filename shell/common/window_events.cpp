#include "shell/common/window_events.h"

#include <cstdio>
#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "scores/high_scores.h"
#include "shell/common/player_message.h"

void OnMainWindowCreated() {
    BuildStatisticsSamples();
    if (!LoadHighScores()) ResetHighScores();
}

void ShutdownGame() {
    HostStopTimer(GravityTimer);
    if (repeatTimerActive) HostStopTimer(RepeatTimer);
    ReleaseAllBlocks();
}

const char* MainWindowTitle(bool paused) { return paused ? "Quadrafall - Paused" : "Quadrafall"; }

// One plain sentence that names the file and the system's reason.
void TellSaveFailed(const StoreError& error) {
    char text[sizeof error.reason + 80];
    std::snprintf(text, sizeof text, "The Top Ten could not be saved to %s: %s.", ScoreStoreName(), error.reason);
    ShowPlayerMessage(text);
}

void AcceptNameEntry(const char* typedName) {
    char name[HighScoreNameSize] = {};
    std::strncpy(name, typedName, HighScoreNameSize - 1);
    StoreError error;
    const NewHighScoreOutcome outcome = StoreNewHighScore(gameState.score, name, &error);
    if (outcome == HighScoreNotStored) TellSaveFailed(error);
    if (outcome == HighScoreOutranked) {
        ShowPlayerMessage("Your score no longer makes the Top Ten: another game has stored better scores.");
    }
}

void ResetAndSaveHighScores() {
    StoreError error;
    if (!StoreDefaultHighScores(&error)) TellSaveFailed(error);
}
