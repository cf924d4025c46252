// The Linux program's own timer code on FLTK's real loop, with the thread
// held inside a tick as the row blink holds it.

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "shell/common/timer_slots.h"

namespace {

std::vector<uint64_t> repeatTicks;
bool held = false;
size_t lateTick = 0;
uint64_t gravityTickedAt = 0;

void GravityTicks() { gravityTickedAt = MonotonicMs(); }

// The first tick after the hold is a late one; it starts gravity as a
// landing does.
void RepeatTicks() {
    repeatTicks.push_back(MonotonicMs());
    if (held) {
        held = false;
        lateTick = repeatTicks.size() - 1;
        StartTimerSlot(GravityTimer, 1000, GravityTicks);
    }
}

void HoldTheThread() {
    StopTimerSlot(SoftDropTimer);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    held = true;
}

}  // namespace

// A timer that fell due during the hold ticks once, late, and its next tick
// comes a whole interval later; a timer started in that late tick waits its
// whole interval. (A tick made late by a busy machine shortens the gap
// after it, to keep the rhythm, so only the gap after the hold is looked at.)
TEST(FltkTimers, AfterAHoldALateTickComesOnceAndATimerStartedInItWaitsItsInterval) {
    uint64_t last = MonotonicMs();
    const uint64_t deadline = last + 5000;
    StartTimerSlot(RepeatTimer, 150, RepeatTicks);
    StartTimerSlot(SoftDropTimer, 400, HoldTheThread);
    while (gravityTickedAt == 0 && MonotonicMs() < deadline) Fl::wait(0.1);
    StopAllTimerSlots();
    std::vector<uint64_t> gaps;
    for (uint64_t tick : repeatTicks) gaps.push_back(tick - std::exchange(last, tick));
    ASSERT_NE(gravityTickedAt, 0u) << "the timer started in the late tick never ticked";
    ASSERT_GT(gaps.size(), lateTick + 1);
    EXPECT_GE(gaps[lateTick + 1], 100u) << ::testing::PrintToString(gaps);
    EXPECT_GE(gravityTickedAt - repeatTicks[lateTick], 950u);
}
