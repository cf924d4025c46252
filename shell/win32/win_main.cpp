// The entry point: enter the Top Ten's folder when one is named, register
// the class, create and show the main window, run the message loop, and free
// everything on the way out.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "resources/resource_ids.h"
#include "shell/common/level_menu.h"
#include "shell/common/window_events.h"
#include "shell/win32/main_window.h"

HWND mainWindow = nullptr;
const char MainWindowClassName[] = "Quadrafall";

namespace {

constexpr UINT StartupErrorBoxFlags = MB_ICONEXCLAMATION | MB_OK | MB_SYSTEMMODAL;

// The store keeps highscores.dat in the working folder. The installed game's
// shortcut names the player's %APPDATA%\Quadrafall after --top-ten-folder,
// and starts in the program's own folder, which is always there: the game
// makes the named folder when it is missing (the player may have deleted
// it) and works in it. Without the option it keeps the folder it is started
// from, as the unpacked zip's program always has.
constexpr wchar_t TopTenFolderOption[] = L"--top-ten-folder";

bool TellStartupFailure(const std::wstring& what, DWORD error) {
    wchar_t reason[256] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                   sizeof reason / sizeof reason[0], nullptr);
    MessageBoxW(nullptr, (what + L"\n\n" + reason).c_str(), L"Quadrafall", StartupErrorBoxFlags);
    return false;
}

bool EnterTopTenFolder(const wchar_t* folder) {
    const bool made = CreateDirectoryW(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    if (made && SetCurrentDirectoryW(folder)) return true;
    const DWORD error = GetLastError();
    return TellStartupFailure(std::wstring(L"Quadrafall cannot keep its Top Ten in \"") + folder + L"\".", error);
}

// False, once the player has been told why, when the game must not start.
bool EnterNamedTopTenFolder() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return TellStartupFailure(L"Quadrafall cannot read its command line.", GetLastError());
    bool entered = true;
    for (int i = 1; entered && i < count; ++i) {
        if (std::wcscmp(arguments[i], TopTenFolderOption) != 0) continue;
        if (i + 1 == count) {
            entered = TellStartupFailure(std::wstring(TopTenFolderOption) + L" needs the folder after it.",
                                         ERROR_INVALID_PARAMETER);
        } else {
            entered = EnterTopTenFolder(arguments[++i]);
        }
    }
    LocalFree(arguments);
    return entered;
}

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
    if (!EnterNamedTopTenFolder()) return E_FAIL;
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
