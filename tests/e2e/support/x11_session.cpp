#include "x11_session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tools/png_file.h"

struct XSessionState {
    Display* display = nullptr;
    pid_t serverPid = -1;
    pid_t windowManagerPid = -1;
};

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMicros(Clock::time_point since) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - since).count());
}

void SleepMicros(long micros) { std::this_thread::sleep_for(std::chrono::microseconds(micros)); }

// Xvfb picks a free display number itself and writes it to the pipe, so
// sessions of tests running side by side never collide.
pid_t StartServer(int width, int height, std::string& displayName) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        close(fds[0]);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    const Clock::time_point start = Clock::now();
    while (ElapsedMicros(start) < 10'000'000) {
        if (poll(&waiting, 1, 100) <= 0) continue;
        char c;
        const ssize_t got = read(fds[0], &c, 1);
        if (got <= 0 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    displayName = ":" + number;
    return pid;
}

std::string WindowClass(Display* display, Window window) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) return {};
    std::string result = hint.res_class != nullptr ? hint.res_class : "";
    std::string name = hint.res_name != nullptr ? hint.res_name : "";
    if (hint.res_class != nullptr) XFree(hint.res_class);
    if (hint.res_name != nullptr) XFree(hint.res_name);
    return result + '\n' + name;
}

std::string WindowTitle(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return {};
    std::string result = name;
    XFree(name);
    return result;
}

bool WindowIsViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

// Windows of other programs may go while a test looks at them (a menu that
// closes, a frame the window manager drops): a request about one that is
// gone then fails on its own instead of ending the test process.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

std::vector<Window> ChildrenOf(Display* display, Window window) {
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &rootReturn, &parent, &children, &count) == 0) return result;
    result.assign(children, children + count);
    if (children != nullptr) XFree(children);
    return result;
}

// Top-level windows, topmost first: the root's children, and their children
// when a window manager reparents them into frames.
template <typename Match>
unsigned long FindTopLevel(XSession& session, int timeoutMs, Match matches) {
    Display* display = session.state->display;
    const Clock::time_point start = Clock::now();
    do {
        XSync(display, False);
        const std::vector<Window> topLevel = ChildrenOf(display, DefaultRootWindow(display));
        for (auto window = topLevel.rbegin(); window != topLevel.rend(); ++window) {
            if (!WindowIsViewable(display, *window)) continue;
            if (matches(display, *window)) return *window;
            for (const Window client : ChildrenOf(display, *window)) {
                if (WindowIsViewable(display, client) && matches(display, client)) return client;
            }
        }
        SleepMicros(5000);
    } while (ElapsedMicros(start) < static_cast<long>(timeoutMs) * 1000);
    return 0;
}

KeyCode KeycodeFor(Display* display, KeySym keysym, bool& needsShift) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    needsShift = code != 0 && XkbKeycodeToKeysym(display, code, 0, 0) != keysym &&
                 XkbKeycodeToKeysym(display, code, 0, 1) == keysym;
    return code;
}

void FakeKey(XSession& session, const std::string& keysymName, bool press) {
    Display* display = session.state->display;
    const KeySym keysym = XStringToKeysym(keysymName.c_str());
    if (keysym == NoSymbol) {
        std::fprintf(stderr, "x11_session: unknown key name %s\n", keysymName.c_str());
        return;
    }
    bool needsShift = false;
    const KeyCode code = KeycodeFor(display, keysym, needsShift);
    if (code == 0) return;
    XTestFakeKeyEvent(display, code, press ? True : False, CurrentTime);
    XFlush(display);
}

uint32_t ChannelOf(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return static_cast<uint32_t>((pixel >> shift) & mask) * 255u / static_cast<uint32_t>(mask);
}

}  // namespace

bool StartXSession(XSession& session, int width, int height) {
    std::string displayName;
    const pid_t pid = StartServer(width, height, displayName);
    if (pid < 0) {
        std::fprintf(stderr, "x11_session: Xvfb could not be started\n");
        return false;
    }
    Display* display = nullptr;
    const Clock::time_point start = Clock::now();
    while (display == nullptr && ElapsedMicros(start) < 10'000'000) {
        display = XOpenDisplay(displayName.c_str());
        if (display == nullptr) SleepMicros(10000);
    }
    int eventBase, errorBase, major, minor;
    if (display == nullptr || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "x11_session: cannot use the X server on %s\n", displayName.c_str());
        if (display != nullptr) XCloseDisplay(display);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return false;
    }
    XSetErrorHandler(IgnoreXError);
    session.state = new XSessionState{display, pid};
    session.displayName = displayName;
    return true;
}

void StopXSession(XSession& session) {
    if (session.state == nullptr) return;
    if (session.state->display != nullptr) XCloseDisplay(session.state->display);
    KillProgram(session.state->windowManagerPid);
    if (session.state->serverPid > 0) {
        kill(session.state->serverPid, SIGTERM);
        if (WaitForExit(session.state->serverPid, 5000) == -1) KillProgram(session.state->serverPid);
    }
    delete session.state;
    session.state = nullptr;
}

pid_t LaunchProgram(const XSession& session, const std::vector<std::string>& argv, const std::string& workDir,
                    const std::vector<std::string>& extraEnvironment) {
    if (argv.empty()) return -1;
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(workDir.c_str()) != 0) _exit(126);
    if (!session.displayName.empty()) {
        setenv("DISPLAY", session.displayName.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
    for (const std::string& entry : extraEnvironment) putenv(strdup(entry.c_str()));
    std::vector<char*> arguments;
    for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    execv(arguments[0], arguments.data());
    _exit(127);
}

int WaitForExit(pid_t pid, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
            return -1;
        }
        if (done < 0) return -1;
        if (ElapsedMicros(start) >= static_cast<long>(timeoutMs) * 1000) return -1;
        SleepMicros(2000);
    }
}

void KillProgram(pid_t pid) {
    if (pid <= 0) return;
    if (waitpid(pid, nullptr, WNOHANG) != 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

unsigned long FindWindowByClass(XSession& session, const std::string& className, int timeoutMs) {
    return FindTopLevel(session, timeoutMs, [&](Display* display, Window window) {
        const std::string classAndName = WindowClass(display, window);
        const size_t split = classAndName.find('\n');
        return classAndName.substr(0, split) == className || classAndName.substr(split + 1) == className;
    });
}

unsigned long FindWindowByTitle(XSession& session, const std::string& title, int timeoutMs) {
    return FindTopLevel(session, timeoutMs,
                        [&](Display* display, Window window) { return WindowTitle(display, window) == title; });
}

bool GetWindowBox(XSession& session, unsigned long window, WindowBox& box) {
    Display* display = session.state->display;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) return false;
    Window child;
    int rootX = 0, rootY = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rootX, &rootY, &child)) return false;
    box = {rootX, rootY, attributes.width, attributes.height};
    return true;
}

void FocusWindow(XSession& session, unsigned long window) {
    XSetInputFocus(session.state->display, window, RevertToPointerRoot, CurrentTime);
    XSync(session.state->display, False);
}

void PressKey(XSession& session, const std::string& keysymName) { FakeKey(session, keysymName, true); }

void ReleaseKey(XSession& session, const std::string& keysymName) { FakeKey(session, keysymName, false); }

void TapKey(XSession& session, const std::string& keysymName) {
    PressKey(session, keysymName);
    ReleaseKey(session, keysymName);
}

void TypeText(XSession& session, const std::string& text) {
    Display* display = session.state->display;
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    for (const char c : text) {
        const KeySym keysym = static_cast<unsigned char>(c);
        bool needsShift = false;
        const KeyCode code = KeycodeFor(display, keysym, needsShift);
        if (code == 0) continue;
        if (needsShift) XTestFakeKeyEvent(display, shift, True, CurrentTime);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        if (needsShift) XTestFakeKeyEvent(display, shift, False, CurrentTime);
    }
    XFlush(display);
}

void ClickAt(XSession& session, int rootX, int rootY) {
    Display* display = session.state->display;
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}

void MovePointer(XSession& session, int rootX, int rootY) {
    XTestFakeMotionEvent(session.state->display, -1, rootX, rootY, CurrentTime);
    XFlush(session.state->display);
}

std::vector<unsigned long> ListTopLevelWindows(XSession& session) {
    Display* display = session.state->display;
    std::vector<unsigned long> windows;
    XSync(display, False);
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count) == 0) return windows;
    for (unsigned int i = 0; i < count; ++i) {
        if (WindowIsViewable(display, children[i])) windows.push_back(children[i]);
    }
    if (children != nullptr) XFree(children);
    return windows;
}

void RequestClose(XSession& session, unsigned long window) {
    Display* display = session.state->display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

void TurnOffKeyRepeat(XSession& session) {
    XAutoRepeatOff(session.state->display);
    XSync(session.state->display, False);
}

void SetResources(XSession& session, const std::string& resources) {
    Display* display = session.state->display;
    XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
    XSync(display, False);
}

void Flush(XSession& session) { XSync(session.state->display, False); }

std::vector<uint32_t> ReadPixels(XSession& session, int rootX, int rootY, int width, int height) {
    Display* display = session.state->display;
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), rootX, rootY, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return pixels;
    pixels.resize(static_cast<size_t>(width) * height);
    // The usual 24-bit TrueColor layout is read directly: latency
    // measurements poll this many times a millisecond.
    if (image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
        image->blue_mask == 0xFF && image->byte_order == LSBFirst) {
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line);
            uint32_t* out = pixels.data() + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                const uint32_t v = row[x];
                out[x] = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
            }
        }
        XDestroyImage(image);
        return pixels;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const uint32_t r = ChannelOf(pixel, image->red_mask);
            const uint32_t g = ChannelOf(pixel, image->green_mask);
            const uint32_t b = ChannelOf(pixel, image->blue_mask);
            pixels[static_cast<size_t>(y) * width + x] = (b << 16) | (g << 8) | r;
        }
    }
    XDestroyImage(image);
    return pixels;
}

long WaitForPixelChangeMicros(XSession& session, int rootX, int rootY, int width, int height,
                              const std::vector<uint32_t>& before, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        if (ReadPixels(session, rootX, rootY, width, height) != before) return ElapsedMicros(start);
        if (ElapsedMicros(start) >= static_cast<long>(timeoutMs) * 1000) return -1;
    }
}

int WaitForPixelChange(XSession& session, int rootX, int rootY, int width, int height,
                       const std::vector<uint32_t>& before, int timeoutMs) {
    const long micros = WaitForPixelChangeMicros(session, rootX, rootY, width, height, before, timeoutMs);
    return micros < 0 ? -1 : static_cast<int>(micros / 1000);
}

int RunWithoutDisplay(const std::vector<std::string>& argv, const std::string& workDir, std::string& errorOutput,
                      int timeoutMs) {
    errorOutput.clear();
    if (argv.empty()) return -1;
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        if (chdir(workDir.c_str()) != 0) _exit(126);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::vector<char*> arguments;
        for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    close(fds[1]);
    pollfd reading{fds[0], POLLIN, 0};
    const Clock::time_point start = Clock::now();
    while (ElapsedMicros(start) < static_cast<long>(timeoutMs) * 1000) {
        if (poll(&reading, 1, 20) <= 0) continue;
        char buffer[256];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        errorOutput.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    const long left = static_cast<long>(timeoutMs) - ElapsedMicros(start) / 1000;
    const int status = WaitForExit(pid, left > 0 ? static_cast<int>(left) : 0);
    if (status == -1) KillProgram(pid);
    return status;
}

bool SavePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
    if (pixels.size() < static_cast<size_t>(width) * height) return false;
    std::string error;
    if (WritePng(path.c_str(), {pixels.data(), width, height, nullptr}, error)) return true;
    std::fprintf(stderr, "x11_session: cannot write %s: %s\n", path.c_str(), error.c_str());
    return false;
}

// openbox names itself on the root window before it manages windows: it is
// ready once a window mapped now gets its WM_STATE.
bool StartWindowManager(XSession& session) {
    Display* display = session.state->display;
    session.state->windowManagerPid = LaunchProgram(session, {"/usr/bin/openbox", "--sm-disable"}, "/");
    if (session.state->windowManagerPid < 0) return false;
    const Atom state = XInternAtom(display, "WM_STATE", False);
    const Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XMapWindow(display, probe);
    bool managed = false;
    const Clock::time_point start = Clock::now();
    while (!managed && ElapsedMicros(start) < 10'000'000) {
        XSync(display, False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, probe, state, 0, 2, False, state, &type, &format, &count, &after, &data);
        if (data != nullptr) XFree(data);
        managed = count > 0;
        if (!managed) SleepMicros(10000);
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    if (!managed) std::fprintf(stderr, "x11_session: openbox did not take the screen\n");
    return managed;
}

void MinimizeWindow(XSession& session, unsigned long window) {
    XIconifyWindow(session.state->display, window, DefaultScreen(session.state->display));
    XSync(session.state->display, False);
}

void RestoreWindow(XSession& session, unsigned long window) {
    XMapRaised(session.state->display, window);
    XSync(session.state->display, False);
}

std::string WindowTitleOf(XSession& session, unsigned long window) {
    XSync(session.state->display, False);
    return WindowTitle(session.state->display, window);
}
