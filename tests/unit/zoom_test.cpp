// The zoom of the desktop programs, from the screen's DPI and work area and
// the window manager's frame, or by hand, and the window's size at it: what
// Windows is told on WM_GETDPISCALEDSIZE and given on WM_DPICHANGED.

#include <gtest/gtest.h>

#include "shell/common/zoom.h"

namespace {

TEST(Zoom, EachScreenGivesItsZoomAndTheWindowItsSize) {
    // A Windows window: the client area grows; the caption, the borders and
    // the menu bar (6 x 80 here) do not.
    static const WindowParts windowsWindow = {{291, 384}, {6, 80}};
    // A Linux window: the menu bar grows with the view; the window manager's
    // frame is outside it.
    static const WindowParts linuxWindow = {{291, 404}, {0, 0}};
    const FrameExtents openbox = {1, 1, 22, 4};
    const WindowSize large = {3840, 2160};
    const struct {
        int handZoom, dpi;
        WindowSize workArea;
        int zoom;
        WindowSize window;
        const WindowParts* parts = &windowsWindow;
        FrameExtents frame = NoFrame;
    } cases[] = {
        {0, 96, large, 1, {297, 464}},
        {0, 120, large, 1, {297, 464}},
        {0, 144, large, 2, {588, 848}},  // 1.5 goes up
        {0, 192, large, 2, {588, 848}},
        {0, 240, large, 3, {879, 1232}},
        {0, 288, large, 3, {879, 1232}},
        {0, 5000, {8000, 8000}, 8, {2334, 3152}},
        {0, 192, {588, 848}, 2, {588, 848}},  // lowered until the whole window fits
        {0, 192, {587, 848}, 1, {297, 464}},
        {0, 192, {588, 847}, 1, {297, 464}},
        {0, 384, {1280, 1024}, 2, {588, 848}},
        {0, 288, {200, 200}, 1, {297, 464}},
        {3, 96, {640, 480}, 3, {879, 1232}},  // chosen by hand: as it is
        // A 1440 x 900 screen with an 825 px work area: zoom 2 is 808 px
        // high, and with the title bar it no longer fits.
        {0, 144, {1440, 825}, 1, {291, 404}, &linuxWindow, FrameAllowance},
        {0, 144, {1440, 848}, 2, {582, 808}, &linuxWindow, FrameAllowance},
        {0, 144, {1440, 834}, 2, {582, 808}, &linuxWindow, openbox},  // the frame told
        {0, 144, {1440, 833}, 1, {291, 404}, &linuxWindow, openbox},
        {0, 192, {782, 808}, 2, {582, 808}, &linuxWindow, {100, 100, 0, 0}},
        {0, 192, {781, 808}, 1, {291, 404}, &linuxWindow, {100, 100, 0, 0}},
        {0, 96, {1440, 825}, 1, {291, 404}, &linuxWindow, FrameAllowance},
        {2, 144, {1440, 825}, 2, {582, 808}, &linuxWindow, FrameAllowance},
    };
    for (const auto& c : cases) {
        const int zoom = ChooseZoom(c.handZoom, c.dpi, *c.parts, c.frame, c.workArea);
        const WindowSize window = WindowSizeAtZoom(*c.parts, zoom);
        EXPECT_EQ(zoom, c.zoom) << c.dpi << " DPI, work area " << c.workArea.width << " x " << c.workArea.height
                                << ", frame " << c.frame.top << " px above";
        EXPECT_EQ(window.width, c.window.width) << "at zoom " << zoom;
        EXPECT_EQ(window.height, c.window.height) << "at zoom " << zoom;
    }
}

}  // namespace
