// The Windows program's message box for what the player must be told.

#include <windows.h>

#include "shell/common/player_message.h"
#include "shell/win32/main_window.h"

// Owned by the window that has the keyboard (the name-entry dialog, say), so
// that it stays disabled, and its OK cannot be pressed again, until the box
// is dismissed.
void ShowPlayerMessage(const char* text) {
    HWND owner = GetActiveWindow();
    if (owner == nullptr) owner = mainWindow;
    MessageBoxA(owner, text, "Quadrafall", MB_OK | MB_ICONEXCLAMATION);
}
