#pragma once
// The window manager's frame around the main window. The zoom is chosen
// before the window is shown, with an allowance for the frame; X tells the
// real frame once the window manager has framed the window (openbox does so
// after mapping it), and the window may not fit then.

#include "shell/common/zoom.h"

class Fl_Window;

// The work area of the screen a new window opens on: a window the window
// manager places is made at the desktop's origin and kept on the screen that
// holds it, whichever screen the pointer is on.
WindowSize StartupWorkArea();

// Watches for the shown window's _NET_FRAME_EXTENTS. When they come, the
// zoom is lowered, once, if the window in its frame does not fit the work
// area of the screen it is on; a zoom chosen by hand stays as it is.
void FitMainWindowToItsFrame(Fl_Window* window, int handZoom, int dpi);
