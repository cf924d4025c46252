// The zoom the desktop programs show the game at, from the screen's DPI and
// work area or by hand, and the window's size at it (the size Windows is
// told on WM_GETDPISCALEDSIZE and given on WM_DPICHANGED).

#include <gtest/gtest.h>

#include "shell/common/zoom.h"

namespace {

struct Case {
    int handZoom;
    int dpi;
    WindowSize workArea;
    int zoom;
    WindowSize window;
};

TEST(Zoom, EachScreenGivesItsZoomAndTheWindowItsSize) {
    // The Windows program's window: the client area grows with the zoom; the
    // caption, the borders and the menu bar (6 x 80 here) do not.
    const WindowParts parts = {{291, 384}, {6, 80}};
    const WindowSize large = {3840, 2160};
    const Case cases[] = {
        {0, 96, large, 1, {297, 464}},
        {0, 120, large, 1, {297, 464}},
        {0, 143, large, 1, {297, 464}},
        {0, 144, large, 2, {588, 848}},  // 1.5 goes up
        {0, 192, large, 2, {588, 848}},
        {0, 240, large, 3, {879, 1232}},
        {0, 288, large, 3, {879, 1232}},
        {0, 336, large, 4, {1170, 1616}},
        {0, 0, large, 1, {297, 464}},
        {0, 5000, {8000, 8000}, 8, {2334, 3152}},
        // Lowered to the largest zoom whose whole window fits, never below 1.
        {0, 192, {588, 848}, 2, {588, 848}},
        {0, 192, {587, 848}, 1, {297, 464}},
        {0, 192, {588, 847}, 1, {297, 464}},
        {0, 384, {1280, 1024}, 2, {588, 848}},
        {0, 288, {200, 200}, 1, {297, 464}},
        // Chosen by hand: taken as it is.
        {3, 96, {640, 480}, 3, {879, 1232}},
        {1, 288, large, 1, {297, 464}},
    };
    for (const Case& c : cases) {
        const int zoom = ChooseZoom(c.handZoom, c.dpi, parts, c.workArea);
        EXPECT_EQ(zoom, c.zoom) << "hand " << c.handZoom << ", " << c.dpi << " DPI, work area " << c.workArea.width
                                << " x " << c.workArea.height;
        const WindowSize window = WindowSizeAtZoom(parts, zoom);
        EXPECT_EQ(window.width, c.window.width) << "at zoom " << zoom;
        EXPECT_EQ(window.height, c.window.height) << "at zoom " << zoom;
    }
}

}  // namespace
