#pragma once
// The one main window: the menu bar above the game view.

class Fl_Window;

// Creates the window with its menu and game view, not yet shown.
Fl_Window* CreateMainWindow();
// Shows the window and puts the first frame on the screen.
void ShowMainWindow();
// The close request of "Exit" and of the close box: the event loop ends.
void CloseMainWindow();
// F10: opens the menu bar's first drop-down for the arrow keys and Enter.
void OpenMenuBarFromKeyboard();
// Where the main window's client area (below the menu bar) starts on the
// screen; dialogs open with their top-left corner there.
void MainClientOrigin(int& screenX, int& screenY);
