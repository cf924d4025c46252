#pragma once
// The whole-number zoom of the desktop programs: every pixel of the game's
// frame, still composed at 291 x 384, is shown as an N x N square. N follows
// the screen's DPI and is lowered until the whole window fits the screen's
// work area; a zoom the player chose by hand is taken as it is.

#include <cstdint>

// The DPI at which the game is shown pixel for pixel.
constexpr int StandardDpi = 96;
constexpr int LargestZoom = 8;

struct WindowSize {
    int32_t width;
    int32_t height;
};

// A window's outer size in two parts: what grows with the zoom (the frame,
// and a menu bar drawn at the zoom), given at zoom 1, and what does not (a
// caption, borders or a menu bar the system draws at the screen's DPI).
struct WindowParts {
    WindowSize zoomed;
    WindowSize fixed;
};

// DPI / 96 rounded to the nearest whole number, halves up, from 1 to
// LargestZoom: 96 and 120 give 1, 144 and 192 give 2, 240 and 288 give 3.
int ZoomForDpi(int dpi);

// The window's outer size at zoom.
WindowSize WindowSizeAtZoom(const WindowParts& window, int zoom);

// The zoom to show the game at: handZoom when it is 1 or more (chosen by
// the player, never lowered); otherwise ZoomForDpi(dpi), lowered to the
// largest zoom at which the whole window fits workArea, and at least 1.
int ChooseZoom(int handZoom, int dpi, const WindowParts& window, WindowSize workArea);
