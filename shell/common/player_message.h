#pragma once
// Telling the player that something went wrong. Each shell implements it with
// its ordinary message box.

// Shows text in a message box over the main window. The game's timers go on
// while it is open.
void ShowPlayerMessage(const char* text);
