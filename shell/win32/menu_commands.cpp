// The menu's commands and the Level menu's check mark.

#include "game/game_flow.h"
#include "game/game_state.h"
#include "resources/resource_ids.h"
#include "shell/common/command_tables.h"
#include "shell/win32/main_window.h"

namespace {

void OpenDialog(int templateId, DLGPROC procedure) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), mainWindow, procedure, 0);
}

}  // namespace

void SetStartLevel(int level) {
    if (level < 0 || level > 9) return;
    const HMENU menu = GetMenu(mainWindow);
    if (gameState.startLevel >= 0 && gameState.startLevel <= 9) {
        CheckMenuItem(menu, static_cast<UINT>(LevelMenuIds[gameState.startLevel]), MF_BYCOMMAND | MF_UNCHECKED);
    }
    gameState.startLevel = level;
    CheckMenuItem(menu, static_cast<UINT>(LevelMenuIds[level]), MF_BYCOMMAND | MF_CHECKED);
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
