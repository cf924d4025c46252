#pragma once
// The shell's side of the host seam: where the game's frames go.

class GameView;

// The view that HostRedraw draws into; set once the main window exists.
void SetRedrawTarget(GameView* view);
