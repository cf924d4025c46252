#include "game/game_flow.h"

#include <cstdlib>

#include "game/board.h"
#include "game/game_state.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "render/layout.h"
#include "scores/high_scores.h"

const int32_t LineScores[5] = {0, 10, 30, 50, 80};

GameState gameState;
Piece currentPiece;
Piece nextPiece;
Piece statisticsSamples[PieceKindCount];
uint8_t gamePaused;

void ResetGameState() {
    gameState.playing = 0;
    gameState.hasCurrent = 0;
    gameState.hasNext = 0;
    gameState.nextType = -1;
    gameState.score = 0;
    gameState.lines = 0;
    for (int32_t& count : gameState.counts) count = 0;
    gameState.level = gameState.startLevel;
}

void RestartGravityTimer() { HostStartTimer(GravityTimer, static_cast<uint32_t>((10 - gameState.level) * 100), nullptr); }

void NewGame() {
    if (gamePaused == 1) {
        gamePaused = 0;
        HostShowPaused(false);
    }
    if (gameState.hasCurrent == 1) ReleasePiece(currentPiece);
    if (gameState.hasNext == 1) ReleasePiece(nextPiece);
    ClearBoard();
    ResetGameState();
    std::srand(HostTickCount());
    AdvancePiece();
    AdvancePiece();
    gameState.playing = 1;
    RestartGravityTimer();
    HostRedraw();
}

void AdvancePiece() {
    if (gameState.hasNext == 1) {
        currentPiece = nextPiece;
        currentPiece.PlaceAndMove(BoardPanelRect, 5, 0);
        ++gameState.counts[gameState.nextType];
        gameState.hasCurrent = 1;
    }
    const int kind = std::rand() % PieceKindCount;
    gameState.nextType = kind;
    BuildPiece(nextPiece, kind, NextPieceFrame(kind), 2, 1);
    gameState.hasNext = 1;
}

void GravityTick() {
    if (gameState.playing == 0) return;
    for (const Block* block : currentPiece.blocks) {
        if (!IsCellFree(block->col, block->row + 1)) {
            LandPiece();
            return;
        }
    }
    currentPiece.MoveTo(currentPiece.x, currentPiece.y + 1);
    HostRedraw();
}

void LandPiece() {
    LockPiece();
    const int32_t cleared = ClearFullRows();
    AddClearedLines(cleared);
    AdvancePiece();
    for (const Block* block : currentPiece.blocks) {
        if (!IsCellFree(block->col, block->row)) {
            EndGame();
            break;
        }
    }
    HostRedraw();
}

void AddClearedLines(int32_t n) {
    // One landing removes at most four rows; any other count scores nothing.
    if (n >= 1 && n <= 4) {
        gameState.lines += n;
        gameState.score += LineScores[n] * (gameState.level + 1);
        if (gameState.level < 9 && gameState.lines / 10 + gameState.startLevel > gameState.level) ++gameState.level;
    }
    RestartGravityTimer();
}

void BuildStatisticsSamples() {
    for (int kind = 0; kind < PieceKindCount; ++kind) {
        BuildPiece(statisticsSamples[kind], kind, StatisticsSampleFrame(kind), 1, 0);
    }
}

void ReleaseAllBlocks() {
    ClearBoard();
    if (gameState.hasCurrent) ReleasePiece(currentPiece);
    if (gameState.hasNext) ReleasePiece(nextPiece);
    for (Piece& sample : statisticsSamples) ReleasePiece(sample);
}

void EndGame() {
    const int32_t finalScore = gameState.score;
    gameState.playing = 0;
    // Another copy of the game may have stored entries since this one read
    // the table: the place comes from the table as it is stored now.
    RefreshHighScores();
    const int place = RankForScore(finalScore);
    HostStopTimer(GravityTimer);
    HostStopTimer(RepeatTimer);
    repeatTimerActive = 0;
    if (place < 10) HostOpenNameEntry();
}

void PauseGame() {
    if (gameState.playing == 0 || gamePaused == 1) return;
    gamePaused = 1;
    HostStopTimer(GravityTimer);
    HostStopTimer(RepeatTimer);
    HostStopTimer(SoftDropTimer);
    repeatTimerActive = 0;
    ForgetHeldKeys();
    HostShowPaused(true);
}

void ResumeGame() {
    if (gamePaused == 0) return;
    gamePaused = 0;
    ForgetHeldKeys();
    RestartGravityTimer();
    HostShowPaused(false);
}
