// The falling piece under gravity and the arrow keys, timed on the screen.
// The tolerances allow for a busy two-core machine: these check the
// rhythm of the game, not the speed of the machine.

#include <gtest/gtest.h>

#include <algorithm>

#include "render/layout.h"
#include "running_game.h"

namespace {

struct Step {
    double atMs;
    int delta;  // pixels moved by this step
};

// Watches one edge of the falling piece for durationMs and records every
// change: when it happened and by how many pixels.
template <typename Edge>
std::vector<Step> WatchEdge(RunningGame& game, double startMs, double durationMs, Edge edge) {
    std::vector<Step> steps;
    PieceBox last = game.FallingPieceBox();
    while (NowMs() - startMs < durationMs) {
        const PieceBox now = game.FallingPieceBox();
        if (now.found && last.found && edge(now) != edge(last)) steps.push_back({NowMs() - startMs, edge(now) - edge(last)});
        if (now.found) last = now;
    }
    return steps;
}

std::vector<double> Intervals(const std::vector<Step>& steps) {
    std::vector<double> intervals;
    for (size_t i = 1; i < steps.size(); ++i) intervals.push_back(steps[i].atMs - steps[i - 1].atMs);
    return intervals;
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
    const std::vector<Step> steps = WatchEdge(game, start, 3600, Top);
    ASSERT_GE(steps.size(), 3u);
    for (const Step& step : steps) EXPECT_EQ(step.delta, CellSize);
    for (const double interval : Intervals(steps)) {
        EXPECT_GT(interval, 850);
        EXPECT_LT(interval, 1200);
    }
}

TEST(FallingPiece, HeldDownDropsItOneRowEvery50Milliseconds) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseNew();
    FocusWindow(game.session, game.window);
    PressKey(game.session, "Down");
    const double start = NowMs();
    const std::vector<Step> steps = WatchEdge(game, start, 500, Top);
    ReleaseKey(game.session, "Down");
    Flush(game.session);
    ASSERT_GE(steps.size(), 6u);
    for (const Step& step : steps) EXPECT_EQ(step.delta, CellSize);
    // The first row comes one interval after the press, not on it.
    EXPECT_GT(steps.front().atMs, 30);
    const double median = Median(Intervals(steps));
    EXPECT_GT(median, 40);
    EXPECT_LT(median, 70);
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
    PressKey(game.session, key);
    const double start = NowMs();
    const std::vector<Step> steps = WatchEdge(game, start, 700, edge);
    ReleaseKey(game.session, key);
    Flush(game.session);
    ASSERT_GE(steps.size(), 4u);
    for (const Step& step : steps) EXPECT_EQ(step.delta, direction * CellSize);
    // The first step comes with the press itself, then one every 150 ms.
    EXPECT_LT(steps.front().atMs, 60);
    for (const double interval : Intervals(steps)) {
        EXPECT_GT(interval, 120);
        EXPECT_LT(interval, 200);
    }
}

TEST(FallingPiece, HeldLeftMovesIt16PixelsAtOnceAndEvery150Milliseconds) { ExpectSidewaysRhythm("Left", "Right", Left, -1); }

TEST(FallingPiece, HeldRightMovesIt16PixelsAtOnceAndEvery150Milliseconds) { ExpectSidewaysRhythm("Right", "Left", Right, 1); }

}  // namespace
