#include "shell/fltk/host_fltk.h"

#include <cerrno>
#include <ctime>

#include "game/host.h"
#include "shell/common/timer_slots.h"
#include "shell/common/window_events.h"
#include "shell/fltk/dialogs.h"
#include "shell/fltk/game_view.h"
#include "shell/fltk/main_window.h"

namespace {

GameView* redrawTarget = nullptr;

}  // namespace

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

void HostShowPaused(bool paused) { SetMainWindowTitle(MainWindowTitle(paused)); }
