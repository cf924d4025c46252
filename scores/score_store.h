#pragma once
// Where the Top Ten's stored bytes are kept. The core reads and writes them
// only through these functions, and the build links one implementation: the
// file "highscores.dat" in the current directory (POSIX systems, Windows) or
// the browser's local storage (the web page). All calls come from the one
// thread that runs the window's events.

#include <cstddef>
#include <cstdint>

// Why the store could not be read or written, in the system's own words
// ("Permission denied"), without a closing full stop.
struct StoreError {
    char reason[200];
};

enum StoreReadResult { StoreFound, StoreMissing, StoreFailed };

// The name the player knows the store by, for messages: "highscores.dat".
const char* ScoreStoreName();

// Reads the stored bytes as they are now, at most capacity of them; bytes
// beyond capacity are ignored. Never waits on what it reads. Needs no lock:
// the store is replaced whole wherever it can be, so a reader sees the old
// bytes or the new ones.
StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error);

// Takes the store's exclusive lock for one read-change-write, waiting a
// short, bounded time while another copy of the game holds it. The lock ends
// with the process that holds it, so a killed copy never leaves it behind.
// Where no lock is to be had (a file system without one), the store goes on
// without it, and its saves never write into each other's files. False, with
// the reason, when another copy keeps the lock, or when the stored bytes may
// not be written by this user (a read-only file).
bool LockScoreStore(StoreError* error);
// Only after LockScoreStore: puts bytes in place of the stored ones, whole
// and durably, so that after a crash at any moment the store holds either
// the old bytes or the new ones. Where the folder refuses the replace but
// the file may be written, and for anything but a regular file (a device),
// the bytes are written in place. A link is written through: its target
// changes.
bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error);
void UnlockScoreStore();
