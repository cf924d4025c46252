// The main window's zoom: every pixel of the game's frame shown as an N x N
// square, N from the DPI of the monitor the window is on, lowered until the
// whole window fits that monitor's work area. The system scales the caption,
// the menu bar and the dialogs by the DPI itself.

#include <climits>

#include "render/layout.h"
#include "shell/win32/main_window.h"

int mainWindowZoom = 1;

namespace {

// Windows 10 1607 and later. Looked up when the program runs, so that it
// still starts on older systems, where every monitor has the system's DPI.
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <typename Call>
Call User32Function(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The client area grows with the zoom; the caption, the borders and the
// menu bar have the size the system gives them at dpi.
WindowParts MainWindowParts(UINT dpi) {
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    RECT outer = {0, 0, ClientWidth, ClientHeight};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&outer, MainWindowStyle, TRUE, 0, dpi);
    } else {
        AdjustWindowRect(&outer, MainWindowStyle, TRUE);
    }
    const WindowSize fixed = {outer.right - outer.left - ClientWidth, outer.bottom - outer.top - ClientHeight};
    return {{ClientWidth, ClientHeight}, fixed};
}

// A monitor that cannot say its work area lowers no zoom.
WindowSize WorkArea(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return {INT_MAX, INT_MAX};
    return {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
}

// The zoom for dpi on monitor, and the window's outer size at it.
WindowSize SizeForDpi(UINT dpi, HMONITOR monitor, int& zoom) {
    const WindowParts parts = MainWindowParts(dpi);
    zoom = ChooseZoom(0, static_cast<int>(dpi), parts, NoFrame, WorkArea(monitor));
    return WindowSizeAtZoom(parts, zoom);
}

}  // namespace

WindowSize StartupWindowSize() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // A window placed by CW_USEDEFAULT opens on the primary monitor.
    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return SizeForDpi(static_cast<UINT>(dpi), primary, mainWindowZoom);
}

void ZoomForWindowMonitor(HWND window) {
    static const auto dpiForWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
    if (dpiForWindow == nullptr) return;
    const WindowSize size = SizeForDpi(dpiForWindow(window), MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                       mainWindowZoom);
    RECT outer = {};
    GetWindowRect(window, &outer);
    if (outer.right - outer.left == size.width && outer.bottom - outer.top == size.height) return;
    SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window is mostly on its new monitor when its DPI changes, so that is
// the monitor whose work area counts.
LRESULT OnGetDpiScaledSize(HWND window, WPARAM newDpi, LPARAM proposedSize) {
    int zoom = 1;
    const WindowSize size =
        SizeForDpi(static_cast<UINT>(newDpi), MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), zoom);
    SIZE* proposed = reinterpret_cast<SIZE*>(proposedSize);
    proposed->cx = size.width;
    proposed->cy = size.height;
    return TRUE;
}

// The suggested size scales by the ratio of the DPIs; the frame scales by
// whole numbers only, so only the suggested position is taken.
void OnDpiChanged(HWND window, WPARAM newDpi, LPARAM suggestedRect) {
    const RECT* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    const WindowSize size =
        SizeForDpi(HIWORD(newDpi), MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST), mainWindowZoom);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
