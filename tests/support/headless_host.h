#pragma once
// The game's window for tests: timers on a virtual clock that only moves when
// a test advances it, counted redraws, and a name-entry dialog answered by the
// test. Nothing here waits for real time.

#include <cstdint>
#include <string>
#include <vector>

// Forgets every timer and count and sets the clock to start.
void ResetHeadlessHost(uint32_t start = 1000);
// Moves the clock forward by ms, firing every timer that falls due on the way
// in time order (timers due at the same moment in the order they were
// started). A timer overdue after a pause fires once, then keeps its interval
// from then on.
void AdvanceClock(uint32_t ms);
uint32_t VirtualNow();

bool TimerRunning(int id);
uint32_t TimerInterval(int id);
// Milliseconds until the timer's next tick; 0 when it is not running.
uint32_t TimerDueIn(int id);

int RedrawCount();
// Milliseconds the game has held the thread with HostPause.
uint32_t PausedMilliseconds();
// Makes every HostPause last ms longer than asked, as real sleeps do, or
// with a negative ms end that much early (at least 1 ms still passes), as a
// sleep measured by a coarse tick count may.
void SetPauseOvershoot(int32_t ms);

// What a timer without callback runs: the window's timer message. Tests of
// whole games install GravityTick.
void SetWindowTimerHandler(void (*handler)());
// What happens when the game opens the name-entry dialog, while it is "open".
void SetNameEntryHandler(void (*handler)());
int NameEntryOpenCount();
// What the window last showed of the pause (HostShowPaused).
bool ShownPaused();

// When on, every redraw composes the frame into a 291 x 384 pixel buffer.
void SetRedrawRendersFrame(bool on);
// The last composed frame, 291 x 384 pixels of 0x00BBGGRR, row by row.
const uint32_t* LastFrame();
// Called after every redraw, e.g. to check invariants in a soak.
void SetRedrawObserver(void (*observer)());

// What the game told the player through ShowPlayerMessage, oldest first.
const std::vector<std::string>& PlayerMessages();
