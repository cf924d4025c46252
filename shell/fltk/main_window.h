#pragma once
// The one main window: the menu bar above the game view.

#include "shell/common/zoom.h"

class Fl_Window;

// The window's size: the menu bar and the game view both grow with the
// zoom. The window manager's frame is not known before the window is shown.
WindowParts MainWindowParts();
// Creates the window with its menu and game view, not yet shown; every
// pixel of the game's frame is shown as a zoom x zoom square.
Fl_Window* CreateMainWindow(int zoom);
// The zoom the window is shown at; the dialogs grow with it.
int MainWindowZoom();
// Shows the window, its menu bar and the game at another zoom, at the same
// top-left corner.
void SetMainWindowZoom(int zoom);
// Shows the window and puts the first frame on the screen.
void ShowMainWindow();
// The close request of "Exit" and of the close box: the event loop ends.
void CloseMainWindow();
// The window's title bar shows title (the pause shows itself there).
void SetMainWindowTitle(const char* title);
// F10: opens the menu bar's first drop-down for the arrow keys and Enter.
void OpenMenuBarFromKeyboard();
// Where the main window's client area (below the menu bar) starts on the
// screen; dialogs open with their top-left corner there.
void MainClientOrigin(int& screenX, int& screenY);
