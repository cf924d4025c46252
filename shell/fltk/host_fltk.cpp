#include "shell/fltk/host_fltk.h"

#include <FL/Fl.H>

#include <cerrno>
#include <ctime>

#include "game/host.h"
#include "shell/common/timer_slots.h"
#include "shell/fltk/dialogs.h"
#include "shell/fltk/game_view.h"

namespace {

GameView* redrawTarget = nullptr;

// FLTK's timeouts by slot: each carries the generation it was armed for.
struct ArmedTimeout {
    int slot;
    uint32_t generation;
};

ArmedTimeout armedTimeouts[TimerSlotCount];

void TimeoutCame(void* data) {
    const ArmedTimeout& armed = *static_cast<ArmedTimeout*>(data);
    FireTimerSlot(armed.slot, armed.generation);
}

}  // namespace

void ArmTimeout(int slot, uint32_t generation, uint32_t delayMs) {
    ArmedTimeout& armed = armedTimeouts[slot];
    Fl::remove_timeout(TimeoutCame, &armed);
    armed = {slot, generation};
    Fl::add_timeout(static_cast<double>(delayMs) / 1000.0, TimeoutCame, &armed);
}

void DisarmTimeout(int slot) { Fl::remove_timeout(TimeoutCame, &armedTimeouts[slot]); }

uint64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

void SetRedrawTarget(GameView* view) { redrawTarget = view; }

void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback) { StartTimerSlot(id, intervalMs, callback); }

void HostStopTimer(int id) { StopTimerSlot(id); }

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
