// The native program's message box for what the player must be told.

#include <FL/fl_ask.H>

#include "shell/common/player_message.h"

// Modal over every open window; the game's timers go on while it waits.
void ShowPlayerMessage(const char* text) {
    fl_message_title("Quadrafall");
    fl_alert("%s", text);
}
