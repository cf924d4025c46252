#pragma once
// The whole-number zoom of the desktop programs: every pixel of the game's
// frame, still composed at 291 x 384, is shown as an N x N square. N follows
// the screen's DPI and is lowered until the whole window, with the frame the
// window manager puts around it, fits the work area of the screen it opens
// on; a zoom the player chose by hand is taken as it is.

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

// What a window manager draws around a window (its title bar and borders),
// in pixels; X tells it in the window's _NET_FRAME_EXTENTS.
struct FrameExtents {
    int32_t left;
    int32_t right;
    int32_t top;
    int32_t bottom;
};

// Counted for a frame not yet told: a title bar and thin borders. X tells it
// only once the window manager has framed the window, after it is mapped.
constexpr FrameExtents FrameAllowance = {8, 8, 32, 8};
// For a window whose outer size holds its frame already (a Windows window's).
constexpr FrameExtents NoFrame = {0, 0, 0, 0};

// DPI / 96 rounded to the nearest whole number, halves up, from 1 to
// LargestZoom: 96 and 120 give 1, 144 and 192 give 2, 240 and 288 give 3.
int ZoomForDpi(int dpi);

// The window's outer size at zoom.
WindowSize WindowSizeAtZoom(const WindowParts& window, int zoom);

// The zoom to show the game at: handZoom when it is 1 or more (chosen by
// the player, never lowered); otherwise ZoomForDpi(dpi), lowered to the
// largest zoom at which the whole window in frame fits workArea, and at
// least 1.
int ChooseZoom(int handZoom, int dpi, const WindowParts& window, const FrameExtents& frame, WindowSize workArea);
