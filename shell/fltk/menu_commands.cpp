#include "shell/fltk/menu_commands.h"

#include "game/game_flow.h"
#include "resources/resource_ids.h"
#include "shell/common/command_tables.h"
#include "shell/common/level_menu.h"
#include "shell/fltk/dialogs.h"
#include "shell/fltk/main_window.h"

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
