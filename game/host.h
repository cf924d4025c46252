#pragma once
// What the game asks of the window that hosts it. Each shell implements these
// functions once for its windowing layer; the tests implement them on a
// virtual clock. All calls come from the one thread that runs the window's
// events, and every callback is made on that thread too.

#include <cstdint>

enum TimerId : int {
    GravityTimer = 1,     // no callback: delivered to the window, which runs GravityTick
    RepeatTimer = 1000,   // Left, Right and Up held: HandleHeldKeys every 150 ms
    SoftDropTimer = 1001  // Down held: SoftDropTick every 50 ms
};

using TimerCallback = void (*)();

// Starts numbered timer id on the main window, firing every intervalMs until
// stopped. Starting an id that is already running replaces it, so its next
// tick comes a full interval later. A timer without callback reaches the
// window's timer message, which runs GravityTick. A tick that falls due while
// the thread is busy arrives once, late; missed ticks are not made up.
void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback);
void HostStopTimer(int id);

// Composes the whole frame and shows it in the window before returning.
void HostRedraw();

// Milliseconds since some fixed moment, wrapping at 2^32.
uint32_t HostTickCount();

// Holds the thread for about ms milliseconds without handling any window
// event and without spinning the processor. Used by the row blink.
void HostPause(uint32_t ms);

// Opens the modal name-entry dialog over the main window and returns when it
// has closed. Timers keep firing while it is open.
void HostOpenNameEntry();

// The game was paused or has gone on again: the window shows it outside the
// game's frame (in its title, or beside the game), so the frame stays what
// the game draws.
void HostShowPaused(bool paused);
