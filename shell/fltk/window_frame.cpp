#include "shell/fltk/window_frame.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>

#include "shell/fltk/main_window.h"

namespace {

struct FrameWatch {
    Fl_Window* window;
    Atom extents;
    int dpi;
};

FrameWatch watch = {};

WindowSize WorkAreaOfScreen(int screen) {
    int x = 0, y = 0, width = 0, height = 0;
    Fl::screen_work_area(x, y, width, height, screen);
    return {width, height};
}

// Four cardinals: left, right, top, bottom. False while the window manager
// has set none, or something else.
bool ReadFrameExtents(FrameExtents& frame) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(fl_display, fl_xid(watch.window), watch.extents, 0, 4, False, XA_CARDINAL,
                                          &type, &format, &count, &remaining, &data);
    const bool told = status == Success && type == XA_CARDINAL && format == 32 && count == 4;
    if (told) {
        // Xlib hands 32-bit items over as longs.
        const long* values = reinterpret_cast<const long*>(data);
        frame = {static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]), static_cast<int32_t>(values[2]),
                 static_cast<int32_t>(values[3])};
    }
    if (data != nullptr) XFree(data);
    return told;
}

// On the screen the window is on now, wherever the window manager put it.
void FitToFrame(const FrameExtents& frame) {
    const Fl_Window& window = *watch.window;
    const int screen = Fl::screen_num(window.x(), window.y(), window.w(), window.h());
    const int zoom = ChooseZoom(0, watch.dpi, MainWindowParts(), frame, WorkAreaOfScreen(screen));
    if (zoom < MainWindowZoom()) SetMainWindowZoom(zoom);
}

int OnPropertyChange(void* event, void*) {
    const XEvent& x = *static_cast<const XEvent*>(event);
    if (x.type != PropertyNotify || x.xproperty.atom != watch.extents ||
        x.xproperty.window != fl_xid(watch.window)) {
        return 0;
    }
    FrameExtents frame = {};
    if (ReadFrameExtents(frame)) {
        Fl::remove_system_handler(OnPropertyChange);
        FitToFrame(frame);
    }
    return 0;
}

}  // namespace

WindowSize StartupWorkArea() { return WorkAreaOfScreen(Fl::screen_num(0, 0)); }

void FitMainWindowToItsFrame(Fl_Window* window, int handZoom, int dpi) {
    if (handZoom >= 1 || !window->shown()) return;
    watch = {window, XInternAtom(fl_display, "_NET_FRAME_EXTENTS", False), dpi};
    // The window has selected property changes since it was made; they wait
    // in the queue until the loop reads them, so none is missed.
    Fl::add_system_handler(OnPropertyChange, nullptr);
}
