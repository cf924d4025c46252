#pragma once
// The desktop's font DPI: the Xft.dpi X resource that desktops set for
// high-density screens.

#include <X11/Xlib.h>

// Xft.dpi from the display's resource database, rounded to a whole number;
// 96 when it is unset or not a number from 1 to 10000.
int DesktopFontDpi(Display* display);
