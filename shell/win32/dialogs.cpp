// The three dialog procedures. Each answers TRUE for its initialisation and
// for every command, so an unlisted command, Esc and the close box included,
// is swallowed and the dialog stays open. A command counts only when the
// whole wParam is its id, that is with the notification code BN_CLICKED.

#include <cstring>

#include "game/game_state.h"
#include "resources/resource_ids.h"
#include "scores/high_scores.h"
#include "shell/common/command_tables.h"
#include "shell/common/window_events.h"
#include "shell/win32/main_window.h"

namespace {

// The table as it is stored when the dialog opens, so that another copy of
// the game's entries show.
void ShowHighScores(HWND dialog) {
    RefreshHighScores();
    for (int i = 0; i < HighScoreCount; ++i) {
        // A stored name has no NUL when all ten bytes are used.
        char name[HighScoreNameSize + 1] = {};
        std::memcpy(name, highScores.entries[i].name, HighScoreNameSize);
        SetDlgItemTextA(dialog, TopTenNameIds[i], name);
        SetDlgItemInt(dialog, TopTenScoreIds[i], static_cast<UINT>(highScores.entries[i].score), FALSE);
    }
}

void ShowKeyBindings(HWND dialog) {
    for (int i = 0; i < 5; ++i) SetDlgItemInt(dialog, KeyBindingFieldIds[i], static_cast<UINT>(KeyBindings[i]), FALSE);
}

}  // namespace

INT_PTR CALLBACK NameEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemInt(dialog, IDC_SCORE_FIELD, static_cast<UINT>(gameState.score), FALSE);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (wParam == IDOK) {
        char name[HighScoreNameSize] = {};
        GetDlgItemTextA(dialog, IDC_NAME_FIELD, name, HighScoreNameSize);
        AcceptNameEntry(name);
        EndDialog(dialog, 1);
    }
    return TRUE;
}

INT_PTR CALLBACK TopTenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        ShowHighScores(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (wParam == IDOK) {
        EndDialog(dialog, 1);
    } else if (wParam == IDC_RESET_SCORES) {
        ResetAndSaveHighScores();
        EndDialog(dialog, 1);
    }
    return TRUE;
}

INT_PTR CALLBACK SetKeysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        ShowKeyBindings(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    // Nothing is read back: the bindings are fixed.
    if (wParam == IDOK) EndDialog(dialog, 1);
    return TRUE;
}
