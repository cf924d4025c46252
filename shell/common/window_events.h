#pragma once
// What every shell does at the same moments of the window's life. The shells
// call these from their own event handlers.

#include <cstdint>

#include "scores/score_store.h"

// The main window has just been created: build the statistics samples and
// load the Top Ten, falling back to the defaults.
void OnMainWindowCreated();
// After the event loop: stop the game's timers and free every Block still held.
void ShutdownGame();
// The name-entry dialog's OK: enter the typed name (at most its first 9
// characters) with the current score into the stored table. A save that fails
// is told to the player; the entry stays in the table for the session. So is
// a score that no longer enters because another copy of the game has stored
// better ones since the game ended.
void AcceptNameEntry(const char* typedName);
// The Top Ten dialog's "Reset Scores": defaults, stored at once; a failure is
// told to the player.
void ResetAndSaveHighScores();
// The main window's title, which tells the player that the game is paused.
const char* MainWindowTitle(bool paused);
// Tells the player that the Top Ten could not be stored, and why.
void TellSaveFailed(const StoreError& error);
