// A global CBT hook that refuses to create any window of the class
// "Quadrafall": the platform then lets CreateWindowExA fail, as it would when
// out of resources. Loaded by wine_probe; the platform loads it into every
// process that creates a window while the hook is set.

#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char className[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className);
        if (std::strcmp(className, "Quadrafall") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
