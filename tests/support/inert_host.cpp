// The host seam for programs that only draw model states: no window, no
// timers that fire, no dialogs. Nothing in these programs runs the game.

#include "game/host.h"

void HostStartTimer(int, uint32_t, TimerCallback) {}
void HostStopTimer(int) {}
void HostRedraw() {}
uint32_t HostTickCount() { return 0; }
void HostPause(uint32_t) {}
void HostOpenNameEntry() {}
void HostShowPaused(bool) {}
