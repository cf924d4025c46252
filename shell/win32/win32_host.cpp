// The game's host seam on Win32: numbered timers of the main window, redraws
// through its device context, the tick count, and the name-entry dialog.

#include "game/host.h"
#include "render/frame.h"
#include "resources/resource_ids.h"
#include "shell/common/window_events.h"
#include "shell/win32/gdi_surface.h"
#include "shell/win32/main_window.h"

namespace {

// The callbacks of the running callback timers, by id. The platform hands
// the timer id to the trampoline, which calls the game's callback.
struct CallbackTimer {
    UINT_PTR id;
    TimerCallback callback;
};

CallbackTimer callbackTimers[] = {{RepeatTimer, nullptr}, {SoftDropTimer, nullptr}};

CallbackTimer* FindCallbackTimer(UINT_PTR id) {
    for (CallbackTimer& timer : callbackTimers) {
        if (timer.id == id) return &timer;
    }
    return nullptr;
}

VOID CALLBACK TimerTrampoline(HWND, UINT, UINT_PTR id, DWORD) {
    const CallbackTimer* timer = FindCallbackTimer(id);
    if (timer != nullptr && timer->callback != nullptr) timer->callback();
}

}  // namespace

void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback) {
    CallbackTimer* timer = FindCallbackTimer(static_cast<UINT_PTR>(id));
    if (callback == nullptr || timer == nullptr) {
        // Without callback the tick arrives as WM_TIMER and WndProc runs GravityTick.
        SetTimer(mainWindow, static_cast<UINT_PTR>(id), intervalMs, nullptr);
        return;
    }
    timer->callback = callback;
    SetTimer(mainWindow, static_cast<UINT_PTR>(id), intervalMs, TimerTrampoline);
}

void HostStopTimer(int id) { KillTimer(mainWindow, static_cast<UINT_PTR>(id)); }

void HostRedraw() {
    // GetDC(nullptr) would be the whole screen.
    if (mainWindow == nullptr) return;
    const HDC dc = GetDC(mainWindow);
    Surface window = WindowSurface(dc, mainWindowZoom);
    RenderFrame(&window);
    ReleaseDC(mainWindow, dc);
}

uint32_t HostTickCount() { return GetTickCount(); }

void HostPause(uint32_t ms) { Sleep(ms); }

void HostOpenNameEntry() {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_NAME_ENTRY), mainWindow, NameEntryDialogProc, 0);
}

void HostShowPaused(bool paused) {
    if (mainWindow != nullptr) SetWindowTextA(mainWindow, MainWindowTitle(paused));
}
