// The timer slots' timeouts on Linux: every slot has a clock of its own, a
// one-shot timerfd on CLOCK_MONOTONIC that FLTK's loop watches like any
// file. FLTK's own timeouts take how late the last one ran off the next, so
// a tick that came late after a stall came again at once, and a timer
// started in it came early; a timerfd rings once, a full delay after it is
// set, however late the thread comes back.

#include <FL/Fl.H>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "shell/common/timer_slots.h"

namespace {

struct SlotClock {
    int fd = -1;  // made at the slot's first use, kept for the whole run
    uint32_t generation = 0;
};

SlotClock clocks[TimerSlotCount];

void* SlotData(int slot) { return reinterpret_cast<void*>(static_cast<intptr_t>(slot)); }

// Setting a clock again takes back a ring the loop may already have seen;
// the read then finds nothing, and nothing ticks.
void ClockRang(int fd, void* data) {
    const int slot = static_cast<int>(reinterpret_cast<intptr_t>(data));
    uint64_t rings = 0;
    if (read(fd, &rings, sizeof rings) != static_cast<ssize_t>(sizeof rings)) return;
    FireTimerSlot(slot, clocks[slot].generation);
}

// Without a clock the game could not go on; the program ends as it does
// on FLTK's own failures, with one line that says why.
int ClockOf(int slot) {
    SlotClock& clock = clocks[slot];
    if (clock.fd >= 0) return clock.fd;
    clock.fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (clock.fd < 0) {
        Fl::fatal("cannot make a timer: %s", std::strerror(errno));
    } else {
        Fl::add_fd(clock.fd, FL_READ, ClockRang, SlotData(slot));
    }
    return clock.fd;
}

// A zero time would disarm the clock: a tick due now rings a nanosecond on.
itimerspec OneShotAfter(uint32_t delayMs) {
    itimerspec setting{};
    setting.it_value.tv_sec = static_cast<time_t>(delayMs / 1000);
    setting.it_value.tv_nsec = static_cast<long>(delayMs % 1000) * 1000000L;
    if (delayMs == 0) setting.it_value.tv_nsec = 1;
    return setting;
}

}  // namespace

void ArmTimeout(int slot, uint32_t generation, uint32_t delayMs) {
    const int fd = ClockOf(slot);
    clocks[slot].generation = generation;
    const itimerspec setting = OneShotAfter(delayMs);
    timerfd_settime(fd, 0, &setting, nullptr);
}

void DisarmTimeout(int slot) {
    if (clocks[slot].fd < 0) return;
    const itimerspec off{};
    timerfd_settime(clocks[slot].fd, 0, &off, nullptr);
}
