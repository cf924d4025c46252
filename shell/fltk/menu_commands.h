#pragma once
// What the menu's commands do, by command id.

// Carries out a menu command; ids without an action do nothing.
void OnCommand(int id);
