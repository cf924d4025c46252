#include "shell/common/command_line.h"

#include <cstdio>
#include <cstring>

namespace {

// "1".."8" exactly: no sign, no spaces, no leading zero.
int ParseZoom(const char* text) {
    if (text == nullptr || text[0] < '1' || text[0] > '0' + LargestZoom || text[1] != '\0') return 0;
    return text[0] - '0';
}

CommandLine Refused(const char* format, const char* argument) {
    CommandLine line{CommandLineAction::Refuse, 0, {}};
    std::snprintf(line.refusal, sizeof line.refusal, format, argument);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line{CommandLineAction::Play, 0, {}};
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--version") == 0) {
            if (line.action == CommandLineAction::Play) line.action = CommandLineAction::PrintVersion;
        } else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            line.action = CommandLineAction::PrintHelp;
        } else if (std::strcmp(argument, "--zoom") == 0 || std::strncmp(argument, "--zoom=", 7) == 0) {
            const char* value = argument[6] == '=' ? argument + 7 : (i + 1 < argc ? argv[++i] : nullptr);
            line.zoom = ParseZoom(value);
            if (line.zoom == 0) {
                return Refused("--zoom takes a whole number from 1 to 8, not \"%.60s\"", value ? value : "");
            }
        } else {
            return Refused("unknown argument \"%.80s\" (try --help)", argument);
        }
    }
    return line;
}

const char* VersionText() { return "Quadrafall " QUADRAFALL_VERSION; }

const char* UsageText() {
    return "Usage: quadrafall [--zoom N]\n"
           "A falling-blocks puzzle. The Top Ten is kept in highscores.dat in the\n"
           "folder the game is started from.\n"
           "\n"
           "  --zoom N    draw every pixel of the game as an N x N square (1 to 8);\n"
           "              without it the zoom follows the desktop's font DPI\n"
           "  --help      print this text and exit\n"
           "  --version   print the version and exit\n";
}
