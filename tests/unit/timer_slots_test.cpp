// The numbered timers the FLTK and web shells build on one-shot timeouts,
// on a clock of the test's own: the rhythm of ticks, a tick that falls due
// while the thread is busy, and starting or stopping a running id.

#include <gtest/gtest.h>

#include <vector>

#include "shell/common/timer_slots.h"

namespace {

// The toolkit as the shells have it: one pending timeout per slot.
struct PendingTimeout {
    bool armed;
    uint32_t generation;
    uint64_t dueMs;
};

uint64_t clockMs = 0;
PendingTimeout pending[TimerSlotCount];
std::vector<uint64_t> ticks;
uint64_t busyForMs = 0;  // how long every tick holds the thread

void Tick() {
    ticks.push_back(clockMs);
    clockMs += busyForMs;
}

void TickAndRestartAt75() {
    Tick();
    StartTimerSlot(RepeatTimer, 75, TickAndRestartAt75);
}

// The toolkit's loop: runs every timeout in time order until untilMs; a
// timeout whose moment has passed while a tick held the thread runs as soon
// as the thread is free.
void RunUntil(uint64_t untilMs) {
    for (;;) {
        int next = -1;
        for (int slot = 0; slot < TimerSlotCount; ++slot) {
            if (pending[slot].armed && (next < 0 || pending[slot].dueMs < pending[next].dueMs)) next = slot;
        }
        if (next < 0 || pending[next].dueMs > untilMs) break;
        if (pending[next].dueMs > clockMs) clockMs = pending[next].dueMs;
        pending[next].armed = false;
        FireTimerSlot(next, pending[next].generation);
    }
    if (clockMs < untilMs) clockMs = untilMs;
}

class TimerSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        StopAllTimerSlots();
        clockMs = 1000;
        ticks.clear();
        busyForMs = 0;
    }
    void TearDown() override { StopAllTimerSlots(); }
};

struct RhythmCase {
    const char* name;
    uint32_t intervalMs;
    uint64_t busyForMs;
    std::vector<uint64_t> ticksAfterStart;
};

// Ticks keep the interval's rhythm; a tick that comes late because the
// thread was busy comes once, and the next one a full interval after it,
// never a burst to catch up.
TEST_F(TimerSlotsTest, TicksKeepTheIntervalAndComeOnceWhenLate) {
    const RhythmCase cases[] = {
        {"on time", 100, 0, {100, 200, 300, 400, 500}},
        {"each tick busy for less than the interval", 100, 30, {100, 200, 300, 400, 500}},
        {"each tick busy for more than two intervals", 100, 250, {100, 450}},
    };
    for (const RhythmCase& test : cases) {
        SCOPED_TRACE(test.name);
        SetUp();
        busyForMs = test.busyForMs;
        StartTimerSlot(RepeatTimer, test.intervalMs, Tick);
        RunUntil(1000 + 500);
        std::vector<uint64_t> seen;
        for (uint64_t at : ticks) seen.push_back(at - 1000);
        EXPECT_EQ(seen, test.ticksAfterStart);
    }
}

TEST_F(TimerSlotsTest, StartingARunningIdRestartsItsIntervalAndItsOldTimeoutDoesNothing) {
    StartTimerSlot(GravityTimer, 100, Tick);
    const PendingTimeout first = pending[0];
    RunUntil(1050);
    StartTimerSlot(GravityTimer, 100, Tick);
    FireTimerSlot(0, first.generation);
    EXPECT_TRUE(ticks.empty());
    RunUntil(1250);
    EXPECT_EQ(ticks, (std::vector<uint64_t>{1150, 1250}));
}

TEST_F(TimerSlotsTest, AStoppedTimerNeverTicksAgain) {
    StartTimerSlot(SoftDropTimer, 50, Tick);
    const PendingTimeout armed = pending[0];
    StopTimerSlot(SoftDropTimer);
    FireTimerSlot(0, armed.generation);
    RunUntil(2000);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(TimerSlotsTest, ATickThatRestartsItsOwnTimerKeepsTheNewInterval) {
    StartTimerSlot(RepeatTimer, 100, TickAndRestartAt75);
    RunUntil(1300);
    EXPECT_EQ(ticks, (std::vector<uint64_t>{1100, 1175, 1250}));
}

}  // namespace

void ArmTimeout(int slot, uint32_t generation, uint32_t delayMs) { pending[slot] = {true, generation, clockMs + delayMs}; }

void DisarmTimeout(int slot) { pending[slot].armed = false; }

uint64_t MonotonicMs() { return clockMs; }
