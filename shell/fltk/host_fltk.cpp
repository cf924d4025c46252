#include "shell/fltk/host_fltk.h"

#include <FL/Fl.H>

#include <cerrno>
#include <ctime>

#include "game/game_flow.h"
#include "game/host.h"
#include "shell/fltk/dialogs.h"
#include "shell/fltk/game_view.h"

namespace {

GameView* redrawTarget = nullptr;

struct TimerSlot {
    int id;
    bool running;
    uint32_t intervalMs;
    TimerCallback callback;
    uint64_t dueMs;        // when the pending tick falls due
    uint32_t generation;   // bumped by every start and stop
};

// The game uses three ids; a few spare slots keep an unexpected id harmless.
TimerSlot timerSlots[8];

uint64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

TimerSlot* FindSlot(int id) {
    for (TimerSlot& slot : timerSlots) {
        if (slot.running && slot.id == id) return &slot;
    }
    return nullptr;
}

TimerSlot* FreeSlot() {
    for (TimerSlot& slot : timerSlots) {
        if (!slot.running) return &slot;
    }
    return nullptr;
}

void FireTimer(void* data);

void Schedule(TimerSlot& slot, uint64_t now) {
    Fl::add_timeout(static_cast<double>(slot.dueMs - now) / 1000.0, FireTimer, &slot);
}

// The next tick keeps the rhythm of the interval; after a stall (the row
// blink, a slow frame) it comes one full interval after this late tick
// instead of catching up with a burst.
void ScheduleNextTick(TimerSlot& slot) {
    const uint64_t now = MonotonicMs();
    slot.dueMs += slot.intervalMs;
    if (slot.dueMs <= now) slot.dueMs = now + slot.intervalMs;
    Schedule(slot, now);
}

void FireTimer(void* data) {
    TimerSlot& slot = *static_cast<TimerSlot*>(data);
    if (!slot.running) return;
    const uint32_t generation = slot.generation;
    if (slot.callback != nullptr) {
        slot.callback();
    } else {
        GravityTick();
    }
    // The handler may have stopped or restarted its own timer; a restart has
    // already scheduled the fresh interval.
    if (slot.running && slot.generation == generation) ScheduleNextTick(slot);
}

}  // namespace

void SetRedrawTarget(GameView* view) { redrawTarget = view; }

void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback) {
    TimerSlot* slot = FindSlot(id);
    if (slot != nullptr) {
        Fl::remove_timeout(FireTimer, slot);
    } else {
        slot = FreeSlot();
        if (slot == nullptr) return;
    }
    const uint64_t now = MonotonicMs();
    slot->id = id;
    slot->running = true;
    slot->intervalMs = intervalMs;
    slot->callback = callback;
    slot->dueMs = now + intervalMs;
    ++slot->generation;
    Schedule(*slot, now);
}

void HostStopTimer(int id) {
    TimerSlot* slot = FindSlot(id);
    if (slot == nullptr) return;
    Fl::remove_timeout(FireTimer, slot);
    slot->running = false;
    ++slot->generation;
}

void HostRedraw() {
    if (redrawTarget != nullptr) redrawTarget->RedrawNow();
}

uint32_t HostTickCount() { return static_cast<uint32_t>(MonotonicMs()); }

void HostPause(uint32_t ms) {
    timespec remaining{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

void HostOpenNameEntry() { OpenNameEntryDialog(); }
