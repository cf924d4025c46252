#pragma once
// Tables shared by both shells: menu commands and dialog fields by number.

#include <cstdint>

#include "resources/resource_ids.h"

// The Level menu's command ids, indexed by level 0..9.
extern const int LevelMenuIds[10];
// The Top Ten dialog's name and score fields, indexed by table place 0..9.
extern const int TopTenNameIds[10];
extern const int TopTenScoreIds[10];
// The key-binding dialog's five codes: left, right, down, anticlockwise, clockwise.
extern const int32_t KeyBindings[5];
// The key-binding dialog's edit field for each KeyBindings index.
extern const int KeyBindingFieldIds[5];

// The level whose menu command is id, or -1 when id is none of them.
int LevelForMenuId(int id);
