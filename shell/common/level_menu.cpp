#include "shell/common/level_menu.h"

#include "game/game_state.h"
#include "shell/common/command_tables.h"

void SetStartLevel(int level) {
    if (level < 0 || level > 9) return;
    if (gameState.startLevel >= 0 && gameState.startLevel <= 9) {
        CheckMenuCommand(LevelMenuIds[gameState.startLevel], false);
    }
    gameState.startLevel = level;
    CheckMenuCommand(LevelMenuIds[level], true);
}
