// The desktop program's command line: what each set of arguments asks for,
// and that anything it does not know is refused rather than ignored.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/common/command_line.h"

namespace {

struct Case {
    std::vector<const char*> arguments;
    CommandLineAction action;
    int zoom;
    const char* refusalHas;
};

TEST(CommandLine, EachArgumentListGivesItsAction) {
    const Case cases[] = {
        {{}, CommandLineAction::Play, 0, ""},
        {{"--version"}, CommandLineAction::PrintVersion, 0, ""},
        {{"--help"}, CommandLineAction::PrintHelp, 0, ""},
        {{"--version", "--help"}, CommandLineAction::PrintHelp, 0, ""},
        {{"--help", "--version"}, CommandLineAction::PrintHelp, 0, ""},
        {{"--zoom", "2"}, CommandLineAction::Play, 2, ""},
        {{"--zoom=8"}, CommandLineAction::Play, 8, ""},
        {{"--zoom", "1", "--zoom", "3"}, CommandLineAction::Play, 3, ""},
        {{"--zoom"}, CommandLineAction::Refuse, 0, "--zoom"},
        {{"--zoom", "0"}, CommandLineAction::Refuse, 0, "\"0\""},
        {{"--zoom", "9"}, CommandLineAction::Refuse, 0, "\"9\""},
        {{"--zoom", "02"}, CommandLineAction::Refuse, 0, "\"02\""},
        {{"--zoom", "2x"}, CommandLineAction::Refuse, 0, "\"2x\""},
        {{"--zoom="}, CommandLineAction::Refuse, 0, "\"\""},
        {{"--zoomy"}, CommandLineAction::Refuse, 0, "--zoomy"},
        {{"-v"}, CommandLineAction::Refuse, 0, "\"-v\""},
        {{"highscores.dat"}, CommandLineAction::Refuse, 0, "highscores.dat"},
        {{"--version", "extra"}, CommandLineAction::Refuse, 0, "extra"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quadrafall"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        const char* first = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(line.action, c.action) << first << " (" << c.arguments.size() << " arguments)";
        if (c.action == CommandLineAction::Refuse) {
            EXPECT_NE(std::strstr(line.refusal, c.refusalHas), nullptr) << line.refusal;
            EXPECT_EQ(std::strchr(line.refusal, '\n'), nullptr) << "a refusal is one line";
        } else {
            EXPECT_EQ(line.zoom, c.zoom) << first;
        }
    }
}

TEST(CommandLine, VersionIsTheProjects) {
    EXPECT_STREQ(VersionText(), "Quadrafall " QUADRAFALL_TEST_VERSION);
}

}  // namespace
