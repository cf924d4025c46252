#pragma once
// The modal dialogs of the page, drawn in HTML. The name entry holds the
// game until it ends; the Top Ten and the player's messages do not, and the
// game's timers go on under all of them.

// "Well done you're in the Top Ten": takes a name for the current score and
// returns when OK has entered it.
void RunNameEntryDialog();
// The table as stored now, with "OK" and "Reset Scores".
void OpenTopTenDialog();
// A button of the Top Ten dialog, or Escape or its close box (IDCANCEL).
void OnTopTenCommand(int id);
