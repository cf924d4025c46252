#include "shell/web/menu_commands.h"

#include <emscripten.h>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "resources/resource_ids.h"
#include "shell/common/command_tables.h"
#include "shell/common/level_menu.h"
#include "shell/common/timer_slots.h"
#include "shell/common/window_events.h"
#include "shell/web/dialogs.h"

EM_JS(void, CheckPageMenuItem, (int id, bool checked), { pageMenu.check(id, checked); });
EM_JS(void, ShowGameEnded, (), { pageEvents.endPage(); });

namespace {

// The page cannot close its tab: the game ends as the window's would, its
// timers die with it, and the page says so.
void ExitGame() {
    ShutdownGame();
    StopAllTimerSlots();
    ShowGameEnded();
}

}  // namespace

void CheckMenuCommand(int id, bool checked) { CheckPageMenuItem(id, checked); }

void OnCommand(int id) {
    switch (id) {
        case IDM_NEW:
            NewGame();
            return;
        case IDM_EXIT:
            ExitGame();
            return;
        case IDM_TOP_TEN:
            OpenTopTenDialog();
            return;
        default: {
            // The Level items. "Set Keys" is not available, and the empty
            // second item of the bar has no action.
            const int level = LevelForMenuId(id);
            if (level >= 0) SetStartLevel(level);
            return;
        }
    }
}
