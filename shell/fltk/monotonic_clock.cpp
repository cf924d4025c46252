// The clock the timer slots count on: CLOCK_MONOTONIC, which the timerfds
// count on too.

#include <ctime>

#include "shell/common/timer_slots.h"

uint64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}
