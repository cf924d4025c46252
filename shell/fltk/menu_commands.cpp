#include "shell/fltk/menu_commands.h"

#include "game/game_flow.h"
#include "game/game_state.h"
#include "resources/resource_ids.h"
#include "shell/common/command_tables.h"
#include "shell/fltk/dialogs.h"
#include "shell/fltk/main_window.h"

void SetStartLevel(int level) {
    if (level < 0 || level > 9) return;
    if (gameState.startLevel >= 0 && gameState.startLevel <= 9) {
        CheckMenuCommand(LevelMenuIds[gameState.startLevel], false);
    }
    gameState.startLevel = level;
    CheckMenuCommand(LevelMenuIds[level], true);
}

void OnCommand(int id) {
    switch (id) {
        case IDM_NEW:
            NewGame();
            return;
        case IDM_EXIT:
            CloseMainWindow();
            return;
        case IDM_TOP_TEN:
            OpenTopTenDialog();
            return;
        case IDM_SET_KEYS:
            OpenSetKeysDialog();
            return;
        default: {
            const int level = LevelForMenuId(id);
            if (level >= 0) SetStartLevel(level);
            return;
        }
    }
}
