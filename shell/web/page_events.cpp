// Quadrafall in a web page: the canvas is the game's window, the menu bar and
// the dialogs are HTML, and the page's script (page/*.js) hands the game its
// events through these functions, one small handler per event. It delivers
// one event at a time and none while the game is held in a wait (the row
// blink, the name entry, the Top Ten's lock); those that come meanwhile
// follow afterwards, in order.

#include <emscripten.h>

#include <cstddef>
#include <cstdint>

#include "game/game_flow.h"
#include "game/host.h"
#include "game/keyboard.h"
#include "shell/common/level_menu.h"
#include "shell/common/timer_slots.h"
#include "shell/common/window_events.h"
#include "shell/web/dialogs.h"
#include "shell/web/highscores_file.h"
#include "shell/web/key_codes.h"
#include "shell/web/menu_commands.h"

extern "C" {

// The page has loaded: the game's window exists. Always the first event.
EMSCRIPTEN_KEEPALIVE void PageStart() {
    OnMainWindowCreated();
    SetStartLevel(0);
    HostRedraw();
}

// A key-down reached the game, auto-repeats included; domCode and domKey
// are the event's KeyboardEvent.code and KeyboardEvent.key.
EMSCRIPTEN_KEEPALIVE void PageKeyDown(const char* domCode, const char* domKey) {
    if (const uint32_t code = VirtualKeyFor(domCode, domKey)) OnKeyPressed(code);
}

// A key-up reached the game, with the key its press gave, so that it ends
// what the press began.
EMSCRIPTEN_KEEPALIVE void PageKeyUp(const char* domCode, const char* domKey) {
    if (const uint32_t code = VirtualKeyFor(domCode, domKey)) OnKeyReleased(code);
}

// The page lost the keyboard (it was left or hidden, the menu or a dialog
// took it, the focus moved off the game): its key-ups will go elsewhere, so
// nothing counts as held.
EMSCRIPTEN_KEEPALIVE void PageLostKeyboard() { ReleaseAllKeys(); }

// The page was hidden: the game waits, paused, until the player resumes it.
EMSCRIPTEN_KEEPALIVE void PageHidden() { PauseGame(); }

EMSCRIPTEN_KEEPALIVE void PageMenuCommand(int id) { OnCommand(id); }

EMSCRIPTEN_KEEPALIVE void PageTopTenCommand(int id) { OnTopTenCommand(id); }

EMSCRIPTEN_KEEPALIVE void PageTimerDue(int slot, unsigned generation) { FireTimerSlot(slot, generation); }

EMSCRIPTEN_KEEPALIVE void PageSaveHighScores() { SaveHighScoresFile(); }

EMSCRIPTEN_KEEPALIVE void PageOpenHighScores(const uint8_t* bytes, int size) {
    OpenHighScoresFile(bytes, size > 0 ? static_cast<std::size_t>(size) : 0);
}

}  // extern "C"
