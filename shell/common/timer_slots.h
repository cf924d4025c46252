#pragma once
// The game's numbered timers for shells whose toolkit offers only one-shot
// timeouts. Starting an id that is already running restarts its interval. A
// tick runs only from the shell's event loop, so one that falls due while the
// thread is busy arrives once, late; the next keeps the interval's rhythm
// from then on, and there is never a burst of ticks to catch up.

#include <cstdint>

#include "game/host.h"

// The game uses three ids; a few spare slots keep an unexpected id harmless.
constexpr int TimerSlotCount = 8;

// The shell supplies these for its toolkit. ArmTimeout asks for one call of
// FireTimerSlot(slot, generation) after delayMs and replaces any timeout the
// slot had; DisarmTimeout cancels it. MonotonicMs never goes backwards.
void ArmTimeout(int slot, uint32_t generation, uint32_t delayMs);
void DisarmTimeout(int slot);
uint64_t MonotonicMs();

void StartTimerSlot(int id, uint32_t intervalMs, TimerCallback callback);
void StopTimerSlot(int id);
// The window is gone: every timer stops, those with callbacks too.
void StopAllTimerSlots();
// A slot's timeout has come: runs its tick unless the timer has been stopped
// or restarted since (generation tells), then arms the next tick.
void FireTimerSlot(int slot, uint32_t generation);
