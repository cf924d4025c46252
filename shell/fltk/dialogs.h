#pragma once
// The three modal dialogs. Each returns when the dialog has ended.

// "Well done you're in the Top Ten": takes a name for the current score.
void OpenNameEntryDialog();
// The table, with "OK" and "Reset Scores".
void OpenTopTenDialog();
// The fixed key bindings; nothing typed there changes them.
void OpenSetKeysDialog();
