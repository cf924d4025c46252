// The entry point: register the class, create and show the main window, run
// the message loop, and free everything on the way out.

#include <windows.h>

#include "resources/resource_ids.h"
#include "shell/common/level_menu.h"
#include "shell/common/window_events.h"
#include "shell/win32/main_window.h"

HWND mainWindow = nullptr;
const char MainWindowClassName[] = "Quadrafall";

namespace {

constexpr UINT StartupErrorBoxFlags = MB_ICONEXCLAMATION | MB_OK | MB_SYSTEMMODAL;

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    windowClass.lpszClassName = MainWindowClassName;
    return RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    const WindowSize outer = StartupWindowSize();
    return CreateWindowExA(0, MainWindowClassName, MainWindowTitle(false), MainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           outer.width, outer.height, nullptr, nullptr, instance, nullptr);
}

// GetMessageA returns 0 exactly for WM_QUIT, which is neither translated nor
// dispatched.
void RunMessageLoop() {
    MSG message = {};
    while (message.message != WM_QUIT) {
        if (GetMessageA(&message, nullptr, 0, 0) != 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (RegisterMainWindowClass(instance) == 0) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", StartupErrorBoxFlags);
        return E_FAIL;
    }
    mainWindow = CreateMainWindow(instance);
    if (mainWindow == nullptr) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", StartupErrorBoxFlags);
        UnregisterClassA(MainWindowClassName, instance);
        return E_FAIL;
    }
    ZoomForWindowMonitor(mainWindow);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    SetStartLevel(0);
    RunMessageLoop();
    ShutdownGame();
    UnregisterClassA(MainWindowClassName, instance);
    return 0;
}
