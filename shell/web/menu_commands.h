#pragma once
// What the menu's commands do, by command id.

// Carries out a menu command; ids without an action do nothing.
void OnCommand(int id);
// Moves the Level menu's tick to level and makes it the level the next game
// starts at.
void SetStartLevel(int level);
