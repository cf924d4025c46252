#include "shell/common/timer_slots.h"

#include "game/game_flow.h"

namespace {

struct TimerSlot {
    int id;
    bool running;
    uint32_t intervalMs;
    TimerCallback callback;
    uint64_t dueMs;        // when the pending tick falls due
    uint32_t generation;   // bumped by every start and stop
};

TimerSlot slots[TimerSlotCount];

int FindSlot(int id) {
    for (int i = 0; i < TimerSlotCount; ++i) {
        if (slots[i].running && slots[i].id == id) return i;
    }
    return -1;
}

int FreeSlot() {
    for (int i = 0; i < TimerSlotCount; ++i) {
        if (!slots[i].running) return i;
    }
    return -1;
}

void Arm(int index, uint64_t now) {
    const TimerSlot& slot = slots[index];
    ArmTimeout(index, slot.generation, static_cast<uint32_t>(slot.dueMs > now ? slot.dueMs - now : 0));
}

// After a stall (the row blink, a slow frame) the next tick comes one full
// interval after this late one instead of catching up with a burst.
void ArmNextTick(int index) {
    TimerSlot& slot = slots[index];
    const uint64_t now = MonotonicMs();
    slot.dueMs += slot.intervalMs;
    if (slot.dueMs <= now) slot.dueMs = now + slot.intervalMs;
    Arm(index, now);
}

void Stop(int index) {
    DisarmTimeout(index);
    slots[index].running = false;
    ++slots[index].generation;
}

}  // namespace

void StartTimerSlot(int id, uint32_t intervalMs, TimerCallback callback) {
    int index = FindSlot(id);
    if (index < 0) index = FreeSlot();
    if (index < 0) return;
    TimerSlot& slot = slots[index];
    const uint64_t now = MonotonicMs();
    slot.id = id;
    slot.running = true;
    slot.intervalMs = intervalMs;
    slot.callback = callback;
    slot.dueMs = now + intervalMs;
    ++slot.generation;
    Arm(index, now);
}

void StopTimerSlot(int id) {
    const int index = FindSlot(id);
    if (index >= 0) Stop(index);
}

void StopAllTimerSlots() {
    for (int i = 0; i < TimerSlotCount; ++i) {
        if (slots[i].running) Stop(i);
    }
}

void FireTimerSlot(int index, uint32_t generation) {
    if (index < 0 || index >= TimerSlotCount) return;
    TimerSlot& slot = slots[index];
    if (!slot.running || slot.generation != generation) return;
    if (slot.callback != nullptr) {
        slot.callback();
    } else {
        GravityTick();
    }
    // The handler may have stopped or restarted its own timer; a restart has
    // already armed the fresh interval.
    if (slot.running && slot.generation == generation) ArmNextTick(index);
}
