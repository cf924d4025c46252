// The end-to-end tests' eyes inside Wine: starts the program and reports its
// full exit code (wine itself passes on only the low byte), and reads what
// the platform knows about the program's windows from outside its process.
//
//   wine_probe run <exe> <report file>            exit code as 0x%08lx
//   wine_probe trap-registration <exe> <report>   the class name cannot be
//                                                 registered: the global atom
//                                                 table is full
//   wine_probe trap-creation <exe> <report>       a global CBT hook refuses
//                                                 to create the main window
//   wine_probe client                             client area origin and size
//   wine_probe texts <dialog title>               "id<TAB>text" per control
//   wine_probe focus <dialog title>               the id of the focused control
//   wine_probe enter-menu-loop                    tells the main window that a
//                                                 menu loop starts, as the
//                                                 system does when a menu opens

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND FindDialog(const char* title) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const HWND dialog = FindWindowA("#32770", title);
        if (dialog != nullptr) return dialog;
        Sleep(50);
    }
    return nullptr;
}

std::string ControlText(HWND control) {
    char text[256] = {};
    // Sent, not GetWindowTextA: that would not ask another process's control.
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    std::printf("%d\t%s\n", GetDlgCtrlID(control), ControlText(control).c_str());
    return TRUE;
}

int PrintTexts(const char* title) {
    const HWND dialog = FindDialog(title);
    if (dialog == nullptr) return 1;
    EnumChildWindows(dialog, PrintControl, 0);
    return 0;
}

int PrintFocus(const char* title) {
    const HWND dialog = FindDialog(title);
    if (dialog == nullptr) return 1;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 1;
    std::printf("%d\n", info.hwndFocus == nullptr ? -1 : GetDlgCtrlID(info.hwndFocus));
    return 0;
}

HWND FindMainWindow() {
    HWND window = nullptr;
    for (int attempt = 0; attempt < 100 && window == nullptr; ++attempt) {
        window = FindWindowA("Quadrafall", nullptr);  // the title tells the pause
        if (window == nullptr) Sleep(50);
    }
    return window;
}

int PrintClientArea() {
    const HWND window = FindMainWindow();
    if (window == nullptr) return 1;
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right - client.left, client.bottom - client.top);
    return 0;
}

// Sent, so that the program has handled it when the probe ends.
int EnterMenuLoop() {
    const HWND window = FindMainWindow();
    if (window == nullptr) return 1;
    SendMessageA(window, WM_ENTERMENULOOP, FALSE, 0);
    return 0;
}

struct ErrorBox {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM parameter) {
    ErrorBox* box = reinterpret_cast<ErrorBox*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner != box->processId || std::strcmp(title, "Error!") != 0 || !IsWindowVisible(window)) return TRUE;
    box->window = window;
    return FALSE;
}

// What the message box shows: its text, whether it is system-modal (topmost),
// whether it has an OK button and an icon.
void ReportErrorBox(FILE* report, HWND box) {
    const HWND text = GetDlgItem(box, 0xFFFF);
    std::fprintf(report, "box text: %s\n", text == nullptr ? "" : ControlText(text).c_str());
    std::fprintf(report, "box topmost: %d\n", (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? 1 : 0);
    const HWND ok = GetDlgItem(box, IDOK);
    std::fprintf(report, "box ok button: %s\n", ok == nullptr ? "" : ControlText(ok).c_str());
    std::fprintf(report, "box buttons: %d\n", (GetDlgItem(box, IDCANCEL) != nullptr ? 1 : 0) + (ok != nullptr ? 1 : 0));
    std::fprintf(report, "box icon: %d\n", GetDlgItem(box, 0x0440) != nullptr ? 1 : 0);
    std::fflush(report);
}

// Runs the program, writes what any error box showed and the exit code.
int RunAndReport(const char* program, const char* reportPath) {
    FILE* report = std::fopen(reportPath, "w");
    if (report == nullptr) return 1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = std::string("\"") + program + "\"";
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(report, "not started: %lu\n", GetLastError());
        std::fclose(report);
        return 1;
    }
    bool boxSeen = false;
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (boxSeen) continue;
        ErrorBox box = {process.dwProcessId, nullptr};
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&box));
        if (box.window == nullptr) continue;
        Sleep(200);  // let the box finish drawing its controls
        ReportErrorBox(report, box.window);
        boxSeen = true;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::fprintf(report, "exit code: 0x%08lx\n", exitCode);
    std::fclose(report);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// Class names live in the window station's global atom table; once it is
// full, a new class name cannot be registered. Names that exist already (the
// system's classes) still can.
int RunWithFullAtomTable(const char* program, const char* reportPath) {
    std::vector<ATOM> atoms;
    for (int i = 0; i < 0x4000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "quadrafall test atom %d", i);
        const ATOM atom = GlobalAddAtomA(name);
        if (atom == 0) break;
        atoms.push_back(atom);
    }
    const int result = RunAndReport(program, reportPath);
    for (ATOM atom : atoms) GlobalDeleteAtom(atom);
    return result;
}

int RunWithCreationRefused(const char* program, const char* reportPath) {
    const HMODULE hookLibrary = LoadLibraryA("refuse_main_window.dll");
    if (hookLibrary == nullptr) return 1;
    const HOOKPROC refuse =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "RefuseMainWindow")));
    const HHOOK hook = refuse == nullptr ? nullptr : SetWindowsHookExA(WH_CBT, refuse, hookLibrary, 0);
    if (hook == nullptr) return 1;
    const int result = RunAndReport(program, reportPath);
    UnhookWindowsHookEx(hook);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    // The desktop of this X display starts with the first program that asks
    // for it; let that be the probe, before any trap is set.
    GetDesktopWindow();
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run" && argc == 4) return RunAndReport(argv[2], argv[3]);
    if (command == "trap-registration" && argc == 4) return RunWithFullAtomTable(argv[2], argv[3]);
    if (command == "trap-creation" && argc == 4) return RunWithCreationRefused(argv[2], argv[3]);
    if (command == "client" && argc == 2) return PrintClientArea();
    if (command == "texts" && argc == 3) return PrintTexts(argv[2]);
    if (command == "focus" && argc == 3) return PrintFocus(argv[2]);
    if (command == "enter-menu-loop" && argc == 2) return EnterMenuLoop();
    std::fprintf(stderr,
                 "usage: wine_probe run|trap-registration|trap-creation <exe> <report> | client | texts <title> | "
                 "focus <title> | enter-menu-loop\n");
    return 2;
}
