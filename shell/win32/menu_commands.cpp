// The menu's commands and the Level menu's check mark.

#include "game/game_flow.h"
#include "resources/resource_ids.h"
#include "shell/common/command_tables.h"
#include "shell/common/level_menu.h"
#include "shell/win32/main_window.h"

namespace {

void OpenDialog(int templateId, DLGPROC procedure) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), mainWindow, procedure, 0);
}

}  // namespace

void CheckMenuCommand(int id, bool checked) {
    CheckMenuItem(GetMenu(mainWindow), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void OnMenuCommand(int id) {
    switch (id) {
    case IDM_NEW:
        NewGame();
        return;
    case IDM_EXIT:
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        return;
    case IDM_TOP_TEN:
        OpenDialog(IDD_TOP_TEN, TopTenDialogProc);
        return;
    case IDM_SET_KEYS:
        OpenDialog(IDD_SET_KEYS, SetKeysDialogProc);
        return;
    default:
        // The Level items; the empty second item of the bar has no action.
        SetStartLevel(LevelForMenuId(id));
        return;
    }
}
