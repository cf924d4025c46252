#pragma once
// End-to-end tests drive a real program in a real X server of their own:
// an Xvfb started for the test, real key and pointer events through XTest,
// real pixels read back with XGetImage. Shared by the native shell's tests
// and the Windows program's tests under Wine.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct XSessionState;  // the display connection and the Xvfb process

struct XSession {
    XSessionState* state = nullptr;
    std::string displayName;  // e.g. ":57"
};

// Starts Xvfb on a free display number with a 24-bit screen and connects to
// it. False (with a message on stderr) when Xvfb cannot be started.
bool StartXSession(XSession& session, int width = 1024, int height = 768);
// Disconnects and ends the Xvfb this session started (by its own pid).
void StopXSession(XSession& session);

// Starts argv[0] with the session's DISPLAY in directory workDir (extra
// environment entries "NAME=value" added); returns its pid or -1.
pid_t LaunchProgram(const XSession& session, const std::vector<std::string>& argv, const std::string& workDir,
                    const std::vector<std::string>& extraEnvironment = {});
// Waits up to timeoutMs for the process to end; its exit status (as from
// waitpid's WEXITSTATUS) or -1 when it did not end in time.
int WaitForExit(pid_t pid, int timeoutMs);
// Ends a process this test started, if it is still running.
void KillProgram(pid_t pid);

// A top-level window found by its WM_CLASS class or its title; 0 when none
// appeared within timeoutMs.
unsigned long FindWindowByClass(XSession& session, const std::string& className, int timeoutMs);
unsigned long FindWindowByTitle(XSession& session, const std::string& title, int timeoutMs);
// Window geometry in root coordinates.
struct WindowBox {
    int x, y, width, height;
};
bool GetWindowBox(XSession& session, unsigned long window, WindowBox& box);
// Gives the window the X input focus (keys reach a program only then).
void FocusWindow(XSession& session, unsigned long window);

// Real input through XTest. Key names are X keysym names: "Left", "Down",
// "F10", "Return", "Escape", "a".
void PressKey(XSession& session, const std::string& keysymName);
void ReleaseKey(XSession& session, const std::string& keysymName);
void TapKey(XSession& session, const std::string& keysymName);
void TypeText(XSession& session, const std::string& text);
void ClickAt(XSession& session, int rootX, int rootY);
void Flush(XSession& session);

// Pixels of a root-coordinate rectangle as 0x00BBGGRR, row by row (the same
// format as the software surface).
std::vector<uint32_t> ReadPixels(XSession& session, int rootX, int rootY, int width, int height);
// Waits until the rectangle's pixels differ from before (or timeoutMs);
// returns the milliseconds waited, or -1 on time-out.
int WaitForPixelChange(XSession& session, int rootX, int rootY, int width, int height,
                       const std::vector<uint32_t>& before, int timeoutMs);
// Writes pixels as a PNG, for looking at what a failing test saw.
bool SavePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height);

// Added for the native shell's tests and benchmark.

// Moves the pointer without clicking (e.g. to open a submenu).
void MovePointer(XSession& session, int rootX, int rootY);
// Like WaitForPixelChange, in microseconds, for latency measurements.
long WaitForPixelChangeMicros(XSession& session, int rootX, int rootY, int width, int height,
                              const std::vector<uint32_t>& before, int timeoutMs);
// Runs argv[0] in workDir with DISPLAY unset, collecting what it writes to
// stderr; its exit status, or -1 when it did not end within timeoutMs.
int RunWithoutDisplay(const std::vector<std::string>& argv, const std::string& workDir, std::string& errorOutput,
                      int timeoutMs);
// The viewable top-level windows, bottom of the stack first (menus and
// dialogs that opened last come last).
std::vector<unsigned long> ListTopLevelWindows(XSession& session);
// What a window manager sends when the window's close box is clicked.
void RequestClose(XSession& session, unsigned long window);
// Turns the server's key auto-repeat off, so that a key held by PressKey
// sends no more presses until it is released: a program then knows it is
// held only from the press it saw.
void TurnOffKeyRepeat(XSession& session);
// Sets the screen's X resources, as xrdb does (the root window's
// RESOURCE_MANAGER property), for the programs started afterwards.
void SetResources(XSession& session, const std::string& resources);
// Starts Debian's openbox on the session's display, for what only a window
// manager does (frames, minimising); it ends with the session. False when
// it has not taken the screen within 10 s.
bool StartWindowManager(XSession& session);
// Minimises the window as its minimise button would (what xdotool's
// windowminimize sends); without a window manager nothing happens.
void MinimizeWindow(XSession& session, unsigned long window);
// Brings a minimised window back, as a click in a task bar would.
void RestoreWindow(XSession& session, unsigned long window);
// The window's title (WM_NAME) as it is now.
std::string WindowTitleOf(XSession& session, unsigned long window);
