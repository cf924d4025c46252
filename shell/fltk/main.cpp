// Quadrafall on Linux: one window on the X display named by DISPLAY. It keeps
// nothing but "highscores.dat" in the current directory.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/XKBlib.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "shell/common/command_line.h"
#include "shell/common/level_menu.h"
#include "shell/common/window_events.h"
#include "shell/common/zoom.h"
#include "shell/fltk/desktop_dpi.h"
#include "shell/fltk/main_window.h"
#include "shell/fltk/menu_commands.h"
#include "shell/fltk/window_frame.h"

namespace {

void PrintLine(const char* format, va_list arguments) {
    std::fputs("quadrafall: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

// FLTK's own failures (a lost display, say) end the program with one line.
void FatalError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    PrintLine(format, arguments);
    va_end(arguments);
    std::exit(1);
}

void ReportError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    PrintLine(format, arguments);
    va_end(arguments);
}


}  // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.action) {
        case CommandLineAction::PrintVersion: std::puts(VersionText()); return 0;
        case CommandLineAction::PrintHelp: std::fputs(UsageText(), stdout); return 0;
        case CommandLineAction::Refuse: std::fprintf(stderr, "quadrafall: %s\n", commandLine.refusal); return 2;
        case CommandLineAction::Play: break;
    }
    Fl::fatal = FatalError;
    Fl::error = ReportError;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = XDisplayName(nullptr);
        std::fprintf(stderr, "quadrafall: cannot open the X display \"%s\" (is DISPLAY set?)\n", name ? name : "");
        return 1;
    }
    fl_open_display(display);
    // A held key then repeats as presses alone; the game tells the repeats
    // apart from the first press, and a fake release in between would
    // restart the soft-drop timer before it ever fires.
    XkbSetDetectableAutoRepeat(display, True, nullptr);

    // A zoom chosen by hand is taken as it is; otherwise the desktop's font
    // DPI gives it, lowered until the window and its frame fit.
    const int dpi = DesktopFontDpi(display);
    Fl_Window* window =
        CreateMainWindow(ChooseZoom(commandLine.zoom, dpi, MainWindowParts(), FrameAllowance, StartupWorkArea()));
    OnMainWindowCreated();
    ShowMainWindow();
    FitMainWindowToItsFrame(window, commandLine.zoom, dpi);
    SetStartLevel(0);
    Fl::run();
    ShutdownGame();
    return 0;
}
