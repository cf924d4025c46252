// Quadrafall in a web page: the canvas is the game's window, the menu bar and
// the dialogs are HTML, and the page's script (page/*.js) hands the game its
// events through these functions, one small handler per event. It delivers
// one event at a time and none while the game is held in a wait (the row
// blink, the name entry, the Top Ten's lock); those that come meanwhile
// follow afterwards, in order.

#include <emscripten.h>

#include <cstddef>
#include <cstdint>

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

// A key-down reached the game, auto-repeats included; domCode is the
// event's KeyboardEvent.code.
EMSCRIPTEN_KEEPALIVE void PageKeyDown(const char* domCode) {
    if (const uint32_t code = VirtualKeyFor(domCode)) OnKeyPressed(code);
}

EMSCRIPTEN_KEEPALIVE void PageKeyUp(const char* domCode) {
    if (const uint32_t code = VirtualKeyFor(domCode)) OnKeyReleased(code);
}

// The page lost the keyboard (it was left or hidden, or the menu opened):
// its key-ups will go elsewhere, so nothing counts as held.
EMSCRIPTEN_KEEPALIVE void PageLostKeyboard() { ReleaseAllKeys(); }

EMSCRIPTEN_KEEPALIVE void PageMenuCommand(int id) { OnCommand(id); }

EMSCRIPTEN_KEEPALIVE void PageTopTenCommand(int id) { OnTopTenCommand(id); }

EMSCRIPTEN_KEEPALIVE void PageTimerDue(int slot, unsigned generation) { FireTimerSlot(slot, generation); }

EMSCRIPTEN_KEEPALIVE void PageSaveHighScores() { SaveHighScoresFile(); }

EMSCRIPTEN_KEEPALIVE void PageOpenHighScores(const uint8_t* bytes, int size) {
    OpenHighScoresFile(bytes, size > 0 ? static_cast<std::size_t>(size) : 0);
}

}  // extern "C"
