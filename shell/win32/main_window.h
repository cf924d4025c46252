#pragma once
// The one main window of the Windows program and the procedures the platform
// calls on it.

#include <windows.h>

#include "shell/common/zoom.h"

// Older MinGW headers lack the messages of per-monitor DPI awareness.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// A caption, system menu and minimise box: no sizing border and no maximise
// box, so the client area keeps the size of the zoomed frame.
constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Null until CreateWindowExA has returned; every timer, redraw, menu and
// dialog call of the game goes through it.
extern HWND mainWindow;

extern const char MainWindowClassName[];

// Every pixel of the game's frame is shown as a mainWindowZoom x
// mainWindowZoom square; 1 at 96 DPI.
extern int mainWindowZoom;
// The main window's outer size for the screen at start-up, at the zoom of
// the system's DPI, which becomes mainWindowZoom.
WindowSize StartupWindowSize();
// Once the window exists: the zoom of the monitor it opened on, which may
// have a DPI of its own.
void ZoomForWindowMonitor(HWND window);
// WM_GETDPISCALEDSIZE: the size the window will need at the new DPI.
LRESULT OnGetDpiScaledSize(HWND window, WPARAM newDpi, LPARAM proposedSize);
// WM_DPICHANGED: the zoom of the new DPI, at the position the system suggests.
void OnDpiChanged(HWND window, WPARAM newDpi, LPARAM suggestedRect);

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A menu command chosen from the main window's menu.
void OnMenuCommand(int id);

INT_PTR CALLBACK NameEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TopTenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SetKeysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
