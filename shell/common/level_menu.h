#pragma once
// The Level menu: its check mark and the level the next game starts at.

// Sets or clears the check mark of the menu item that issues command id.
// Each shell implements it on its own menu.
void CheckMenuCommand(int id, bool checked);

// Moves the Level menu's check mark to level (0..9; other values are
// ignored) and makes it the level the next game starts at. The running
// game's level is left alone.
void SetStartLevel(int level);
