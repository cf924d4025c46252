#pragma once
// The desktop program's command line: --version, --help and --zoom N. With
// no arguments the game starts as it always has.

#include "shell/common/zoom.h"

enum class CommandLineAction { Play, PrintVersion, PrintHelp, Refuse };

struct CommandLine {
    CommandLineAction action;
    // 0: the zoom comes from the screen; 1..8: chosen by hand.
    int zoom;
    // What to tell on standard error when the arguments are refused.
    char refusal[160];
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// "Quadrafall 1.0.0", from the project's version.
const char* VersionText();
// The usage text --help prints, ending with a newline.
const char* UsageText();
