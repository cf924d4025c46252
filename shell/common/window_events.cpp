#include "shell/common/window_events.h"

#include <cstring>

#include "game/board.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "render/layout.h"
#include "scores/high_scores.h"

void OnMainWindowCreated() {
    for (int kind = 0; kind < PieceKindCount; ++kind) {
        BuildPiece(statisticsSamples[kind], kind, StatisticsSampleFrame(kind), 1, 0);
    }
    if (!LoadHighScores()) ResetHighScores();
}

void ShutdownGame() {
    HostStopTimer(GravityTimer);
    if (repeatTimerActive) HostStopTimer(RepeatTimer);
    ClearBoard();
    if (gameState.hasCurrent) ReleasePiece(currentPiece);
    if (gameState.hasNext) ReleasePiece(nextPiece);
    for (Piece& sample : statisticsSamples) ReleasePiece(sample);
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
