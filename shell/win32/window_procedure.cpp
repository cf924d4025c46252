// The main window's procedure: one small handler per message, each handing
// the event to the game.

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/keyboard.h"
#include "render/frame.h"
#include "shell/common/window_events.h"
#include "shell/win32/gdi_surface.h"
#include "shell/win32/main_window.h"

namespace {

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    Surface surface = WindowSurface(dc, mainWindowZoom);
    RenderFrame(&surface);
    EndPaint(window, &paint);
}

// Only the gravity timer arrives here: the other two have callbacks.
void OnTimer() {
    if (gameState.playing) GravityTick();
}

// Virtual-key codes are the low 16 bits of wParam and always below 256.
uint32_t KeyCode(WPARAM wParam) { return static_cast<uint32_t>(wParam & 0xFFFF) & 0xFF; }

}  // namespace

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnMainWindowCreated();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_KEYDOWN:
        OnKeyPressed(KeyCode(wParam));
        return 0;
    case WM_KEYUP:
        OnKeyReleased(KeyCode(wParam));
        return 0;
    case WM_SYSKEYUP:
        // A key released while Alt is held comes this way; the game must
        // see it end, and the system still gets Alt and F10 for the menu.
        OnKeyReleased(KeyCode(wParam));
        break;
    case WM_COMMAND:
        OnMenuCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) PauseGame();
        break;
    case WM_SHOWWINDOW:
        // Minimised or hidden, the game waits for the player to come back.
        if (wParam == FALSE) PauseGame();
        break;
    case WM_KILLFOCUS:
        // The key-ups now go to another window (a dialog's, another
        // program's); nothing may stay held.
        ReleaseAllKeys();
        break;
    case WM_GETDPISCALEDSIZE:
        return OnGetDpiScaledSize(window, wParam, lParam);
    case WM_DPICHANGED:
        OnDpiChanged(window, wParam, lParam);
        return 0;
    case WM_ENTERMENULOOP:
        // The menu leaves the focus here but takes the key-ups itself.
        ReleaseAllKeys();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
