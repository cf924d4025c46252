// The native program's message box for what the player must be told: one
// of the program's own dialogs, so that it grows with the zoom like the
// others (the toolkit's own alert box has fixed sizes).

#include <FL/Fl_Box.H>

#include "shell/common/player_message.h"
#include "shell/fltk/dialog_window.h"
#include "shell/fltk/main_window.h"

namespace {

constexpr int IdClose = 1;

void CloseCommand(DialogWindow& box, int id) {
    if (id == IdClose) box.End();
}

// Unlike the game's dialogs, the box also closes on Escape and on its close box.
void CloseRequested(Fl_Widget* box, void*) { static_cast<DialogWindow*>(box)->End(); }

// The toolkit's alert sign: a bold blue "!" on white.
void StyleAsAlertSign(Fl_Box* sign) {
    sign->box(FL_THIN_UP_BOX);
    sign->color(FL_WHITE);
    sign->labelfont(FL_TIMES_BOLD);
    sign->labelcolor(FL_BLUE);
    sign->labelsize(34 * MainWindowZoom());
    sign->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
}

}  // namespace

// Modal over every open window; the game's timers go on while it waits.
void ShowPlayerMessage(const char* text) {
    DialogWindow box(220, 74, "Quadrafall", "QuadrafallMessage");
    box.AddButton({164, 54, 48, 14}, "Close", IdClose, true);
    StyleAsAlertSign(box.AddText({8, 8, 24, 22}, "!"));
    box.AddText({40, 8, 172, 40}, text);
    box.OnCommand(CloseCommand);
    box.callback(CloseRequested);
    box.RunModal();
}
