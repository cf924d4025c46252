// The timer slots' timeouts on FLTK's own, for systems without timerfd. FLTK
// 1.3 shortens a timeout armed in a callback by how late that callback ran,
// so after a stall a tick may come early here; timeouts_timerfd.cpp has none
// of that.

#include <FL/Fl.H>

#include "shell/common/timer_slots.h"

namespace {

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
