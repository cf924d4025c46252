#include "shell/common/command_tables.h"

const int LevelMenuIds[10] = {IDM_LEVEL_0, IDM_LEVEL_1, IDM_LEVEL_2, IDM_LEVEL_3, IDM_LEVEL_4,
                              IDM_LEVEL_5, IDM_LEVEL_6, IDM_LEVEL_7, IDM_LEVEL_8, IDM_LEVEL_9};
const int TopTenNameIds[10] = {1011, 1004, 1005, 1013, 1006, 1008, 1007, 1009, 1010, 1012};
const int TopTenScoreIds[10] = {1093, 1086, 1087, 1095, 1088, 1090, 1089, 1091, 1092, 1094};
const int32_t KeyBindings[5] = {37, 39, 40, 32, 38};
const int KeyBindingFieldIds[5] = {IDC_LEFT_KEY, IDC_RIGHT_KEY, IDC_DOWN_KEY, IDC_ANTICLOCKWISE_KEY,
                                   IDC_CLOCKWISE_KEY};

int LevelForMenuId(int id) {
    for (int level = 0; level < 10; ++level) {
        if (LevelMenuIds[level] == id) return level;
    }
    return -1;
}
