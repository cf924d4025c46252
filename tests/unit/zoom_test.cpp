// The zoom of the desktop programs, from the screen's DPI and work area and
// the window manager's frame, or by hand, and the window's size at it: what
// Windows is told on WM_GETDPISCALEDSIZE and given on WM_DPICHANGED.

#include <gtest/gtest.h>

#include "shell/common/zoom.h"

namespace {

TEST(Zoom, EachScreenGivesItsZoomAndTheWindowItsSize) {
    // A Windows window: the client area grows; the caption, the borders and
    // the menu bar (6 x 80 here) do not.
    const WindowParts windowsWindow = {{291, 384}, {6, 80}};
    // A Linux window: the menu bar grows with the view; the window manager's
    // frame is outside it.
    const WindowParts linuxWindow = {{291, 404}, {0, 0}};
    const FrameExtents openbox = {1, 1, 22, 4};
    const WindowSize large = {3840, 2160};
    const struct {
        const WindowParts& parts;
        int handZoom, dpi;
        FrameExtents frame;
        WindowSize workArea;
        int zoom;
        WindowSize window;
    } cases[] = {
        {windowsWindow, 0, 96, NoFrame, large, 1, {297, 464}},
        {windowsWindow, 0, 120, NoFrame, large, 1, {297, 464}},
        {windowsWindow, 0, 144, NoFrame, large, 2, {588, 848}},  // 1.5 goes up
        {windowsWindow, 0, 192, NoFrame, large, 2, {588, 848}},
        {windowsWindow, 0, 240, NoFrame, large, 3, {879, 1232}},
        {windowsWindow, 0, 288, NoFrame, large, 3, {879, 1232}},
        {windowsWindow, 0, 5000, NoFrame, {8000, 8000}, 8, {2334, 3152}},
        {windowsWindow, 0, 192, NoFrame, {588, 848}, 2, {588, 848}},  // lowered until the whole window fits
        {windowsWindow, 0, 192, NoFrame, {587, 848}, 1, {297, 464}},
        {windowsWindow, 0, 192, NoFrame, {588, 847}, 1, {297, 464}},
        {windowsWindow, 0, 384, NoFrame, {1280, 1024}, 2, {588, 848}},
        {windowsWindow, 0, 288, NoFrame, {200, 200}, 1, {297, 464}},
        {windowsWindow, 3, 96, NoFrame, {640, 480}, 3, {879, 1232}},  // chosen by hand: as it is
        // A 1440 x 900 screen with an 825 px work area: zoom 2 is 808 px
        // high, and with the title bar it no longer fits.
        {linuxWindow, 0, 144, FrameAllowance, {1440, 825}, 1, {291, 404}},
        {linuxWindow, 0, 144, FrameAllowance, {1440, 848}, 2, {582, 808}},
        {linuxWindow, 0, 144, openbox, {1440, 834}, 2, {582, 808}},  // the frame told
        {linuxWindow, 0, 144, openbox, {1440, 833}, 1, {291, 404}},
        {linuxWindow, 0, 192, {100, 100, 0, 0}, {782, 808}, 2, {582, 808}},
        {linuxWindow, 0, 192, {100, 100, 0, 0}, {781, 808}, 1, {291, 404}},
        {linuxWindow, 0, 96, FrameAllowance, {1440, 825}, 1, {291, 404}},
        {linuxWindow, 2, 144, FrameAllowance, {1440, 825}, 2, {582, 808}},
    };
    for (const auto& c : cases) {
        const int zoom = ChooseZoom(c.handZoom, c.dpi, c.parts, c.frame, c.workArea);
        const WindowSize window = WindowSizeAtZoom(c.parts, zoom);
        EXPECT_EQ(zoom, c.zoom) << c.dpi << " DPI, work area " << c.workArea.width << " x " << c.workArea.height
                                << ", frame " << c.frame.top << " px above";
        EXPECT_EQ(window.width, c.window.width) << "at zoom " << zoom;
        EXPECT_EQ(window.height, c.window.height) << "at zoom " << zoom;
    }
}

}  // namespace
