// The falling piece under gravity and the arrow keys, timed on the screen.
// The tolerances allow for a busy two-core machine: these check the
// rhythm of the game, not the speed of the machine.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "render/layout.h"
#include "running_game.h"

namespace {

struct Step {
    double atMs;
    int delta;  // pixels moved by this step
};

// Watches one edge of the falling piece for durationMs and records every
// change: when it happened and by how many pixels, counting from the box
// seen before the key press.
template <typename Edge>
std::vector<Step> WatchEdge(RunningGame& game, PieceBox last, double startMs, double durationMs, Edge edge) {
    std::vector<Step> steps;
    while (NowMs() - startMs < durationMs) {
        const PieceBox now = game.FallingPieceBox();
        if (now.found && last.found && edge(now) != edge(last)) steps.push_back({NowMs() - startMs, edge(now) - edge(last)});
        if (now.found) last = now;
        SleepMs(1);
    }
    return steps;
}

std::vector<double> Intervals(const std::vector<Step>& steps) {
    std::vector<double> intervals;
    for (size_t i = 1; i < steps.size(); ++i) intervals.push_back(steps[i].atMs - steps[i - 1].atMs);
    return intervals;
}

// The mean interval per row: a tick that comes late shortens the next one,
// since the timers keep their rhythm, so the mean stays true under load. A
// read of the screen that missed a frame saw two rows in one step; the rows
// are counted, not the steps.
double MeanInterval(const std::vector<Step>& steps) {
    int rows = 0;
    for (size_t i = 1; i < steps.size(); ++i) rows += std::abs(steps[i].delta) / CellSize;
    return rows == 0 ? 0 : (steps.back().atMs - steps.front().atMs) / rows;
}

// Every step moves whole rows (or columns), and on a busy machine at most
// one read in four misses a frame and sees two at once.
void ExpectSingleSteps(const std::vector<Step>& steps) {
    size_t single = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(step.delta % CellSize, 0) << "a step of " << step.delta << " pixels";
        single += std::abs(step.delta) == CellSize ? 1 : 0;
    }
    EXPECT_GE(4 * single, 3 * steps.size()) << single << " of " << steps.size() << " steps were single cells";
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int Top(const PieceBox& box) { return box.top; }
int Left(const PieceBox& box) { return box.left; }
int Right(const PieceBox& box) { return box.right; }

TEST(FallingPiece, NewDealsAPieceAtTheTopThatFallsOneRowPerSecondAtLevelZero) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    EXPECT_FALSE(game.FallingPieceBox().found);
    game.ChooseNew();
    const double start = NowMs();
    const PieceBox dealt = game.FallingPieceBox();
    ASSERT_TRUE(dealt.found);
    EXPECT_LT(dealt.top, BoardPanelRect.top + CellSize);
    const std::vector<Step> steps = WatchEdge(game, dealt, start, 3600, Top);
    ASSERT_GE(steps.size(), 3u);
    for (const Step& step : steps) EXPECT_EQ(step.delta, CellSize);
    EXPECT_GT(MeanInterval(steps), 950);
    EXPECT_LT(MeanInterval(steps), 1080);
}

TEST(FallingPiece, HeldDownDropsItOneRowEvery50Milliseconds) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseNew();
    FocusWindow(game.session, game.window);
    const PieceBox before = game.FallingPieceBox();
    PressKey(game.session, "Down");
    const double start = NowMs();
    const std::vector<Step> steps = WatchEdge(game, before, start, 500, Top);
    ReleaseKey(game.session, "Down");
    Flush(game.session);
    ASSERT_GE(steps.size(), 6u);
    for (const Step& step : steps) EXPECT_GT(step.delta, 0);
    ExpectSingleSteps(steps);
    // The first row comes one interval after the press, not on it.
    EXPECT_GT(steps.front().atMs, 30);
    EXPECT_GT(Median(Intervals(steps)), 40);
    EXPECT_LT(Median(Intervals(steps)), 70);
    EXPECT_GT(MeanInterval(steps), 40);
    EXPECT_LT(MeanInterval(steps), 65);
}

// From the opposite wall the piece has at least five steps to go.
void ExpectSidewaysRhythm(const char* key, const char* oppositeKey, int (*edge)(const PieceBox&), int direction) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseNew();
    FocusWindow(game.session, game.window);
    PressKey(game.session, oppositeKey);
    SleepMs(800);
    ReleaseKey(game.session, oppositeKey);
    Flush(game.session);
    SleepMs(200);
    const PieceBox before = game.FallingPieceBox();
    PressKey(game.session, key);
    const double start = NowMs();
    const std::vector<Step> steps = WatchEdge(game, before, start, 700, edge);
    ReleaseKey(game.session, key);
    Flush(game.session);
    ASSERT_GE(steps.size(), 4u);
    for (const Step& step : steps) EXPECT_GT(step.delta * direction, 0);
    ExpectSingleSteps(steps);
    // The first step comes with the press itself, then one every 150 ms.
    EXPECT_LT(steps.front().atMs, 60);
    EXPECT_GT(MeanInterval(steps), 130);
    EXPECT_LT(MeanInterval(steps), 175);
}

TEST(FallingPiece, HeldLeftMovesIt16PixelsAtOnceAndEvery150Milliseconds) { ExpectSidewaysRhythm("Left", "Right", Left, -1); }

TEST(FallingPiece, HeldRightMovesIt16PixelsAtOnceAndEvery150Milliseconds) { ExpectSidewaysRhythm("Right", "Left", Right, 1); }

}  // namespace
