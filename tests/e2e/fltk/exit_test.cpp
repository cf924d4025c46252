// Ending the program: "Exit", the close box, and a start without a display.

#include <gtest/gtest.h>

#include <chrono>

#include "running_game.h"

namespace {

const std::vector<uint8_t> SomeScores = StoredScoreFile({{500, "Ann"}, {400, "Bob"}, {300, "Cy"}, {200, "Di"},
                                                         {100, "Ed"}, {50, "Flo"}, {40, "Gus"}, {30, "Hal"},
                                                         {20, "Ida"}, {10, "Jo"}});

TEST(Exit, ExitFromTheMenuEndsWithCodeZeroAndLeavesTheFileAsItWas) {
    RunningGame game;
    ASSERT_TRUE(game.Start(&SomeScores));
    game.ChooseExit();
    EXPECT_EQ(WaitForExit(game.pid, 3000), 0);
    game.pid = -1;
    EXPECT_EQ(game.ScoreFileBytes(), SomeScores);
}

TEST(Exit, ExitDuringAGameEndsWithCodeZeroAndWritesNoFile) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseNew();
    ASSERT_TRUE(game.FallingPieceBox().found);
    game.ChooseExit();
    EXPECT_EQ(WaitForExit(game.pid, 3000), 0);
    game.pid = -1;
    EXPECT_FALSE(game.ScoreFileExists());
}

TEST(Exit, CloseBoxEndsWithCodeZeroAndLeavesTheFileAsItWas) {
    RunningGame game;
    ASSERT_TRUE(game.Start(&SomeScores));
    RequestClose(game.session, game.window);
    EXPECT_EQ(WaitForExit(game.pid, 3000), 0);
    game.pid = -1;
    EXPECT_EQ(game.ScoreFileBytes(), SomeScores);
}

TEST(Exit, WithoutADisplayItSaysSoInOneLineAndFailsAtOnce) {
    char pattern[] = "/tmp/quadrafall-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string errorOutput;
    const auto start = std::chrono::steady_clock::now();
    const int status = RunWithoutDisplay({QUADRAFALL_PROGRAM}, pattern, errorOutput, 5000);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    ASSERT_FALSE(errorOutput.empty());
    EXPECT_EQ(errorOutput.find('\n'), errorOutput.size() - 1) << errorOutput;
    EXPECT_NE(errorOutput.find("display"), std::string::npos) << errorOutput;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 2000);
    rmdir(pattern);
}

}  // namespace
