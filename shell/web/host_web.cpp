// The game's host seam in a web page: numbered timers on the page's
// timeouts, redraws onto the canvas, the page's clock, and the two waits
// that hold the game (the row blink and the name entry), which hand the
// browser back its event loop while they last.

#include <emscripten.h>

#include "game/host.h"
#include "shell/common/timer_slots.h"
#include "shell/web/canvas_view.h"
#include "shell/web/dialogs.h"

// The page's script queues the tick behind any event already waiting and
// hands it over with PageTimerDue.
EM_JS(void, ArmPageTimeout, (int slot, unsigned generation, unsigned delayMs), {
    pageTimers.arm(slot, generation, delayMs);
});
EM_JS(void, DisarmPageTimeout, (int slot), { pageTimers.disarm(slot); });

void ArmTimeout(int slot, uint32_t generation, uint32_t delayMs) { ArmPageTimeout(slot, generation, delayMs); }

void DisarmTimeout(int slot) { DisarmPageTimeout(slot); }

uint64_t MonotonicMs() { return static_cast<uint64_t>(emscripten_get_now()); }

void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback) { StartTimerSlot(id, intervalMs, callback); }

void HostStopTimer(int id) { StopTimerSlot(id); }

void HostRedraw() { RedrawCanvas(); }

uint32_t HostTickCount() { return static_cast<uint32_t>(MonotonicMs()); }

// The page's script delivers nothing else to the game until the sleep ends,
// so no event comes between the blink's phases.
void HostPause(uint32_t ms) { emscripten_sleep(ms); }

void HostOpenNameEntry() { RunNameEntryDialog(); }

EM_JS(void, ShowPauseOnPage, (bool paused), { pagePause.show(paused); });

void HostShowPaused(bool paused) { ShowPauseOnPage(paused); }
