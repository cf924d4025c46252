// The desktop program's command line: what each set of arguments asks for,
// and that anything it does not know is refused rather than ignored.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/common/command_line.h"

namespace {

TEST(CommandLine, EachArgumentListGivesItsAction) {
    using A = CommandLineAction;
    const struct {
        std::vector<const char*> arguments;
        CommandLineAction action;
        int zoom;  // or, for a refusal, what its message quotes
        const char* refusalHas;
    } cases[] = {
        {{}, A::Play, 0, ""},           {{"--version"}, A::PrintVersion, 0, ""}, {{"--help"}, A::PrintHelp, 0, ""},
        {{"--zoom", "2"}, A::Play, 2, ""}, {{"--zoom=8"}, A::Play, 8, ""},       {{"--zoom"}, A::Refuse, 0, "--zoom"},
        {{"--zoom", "9"}, A::Refuse, 0, "\"9\""}, {{"--zoom", "2x"}, A::Refuse, 0, "\"2x\""},
        {{"--zoomy"}, A::Refuse, 0, "--zoomy"},   {{"--version", "extra"}, A::Refuse, 0, "extra"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"quadrafall"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        const char* first = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(line.action, c.action) << first << " (" << c.arguments.size() << " arguments)";
        if (c.action == A::Refuse) {
            EXPECT_NE(std::strstr(line.refusal, c.refusalHas), nullptr) << line.refusal;
            EXPECT_EQ(std::strchr(line.refusal, '\n'), nullptr) << "a refusal is one line";
        } else {
            EXPECT_EQ(line.zoom, c.zoom) << first;
        }
    }
}

}  // namespace
