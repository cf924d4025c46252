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
// beyond capacity are ignored. Needs no lock: the store is only ever
// replaced whole, so a reader sees the old bytes or the new ones.
StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error);

// Takes the store's exclusive lock for one read-change-write, waiting a
// short, bounded time while another copy of the game holds it. The lock ends
// with the process that holds it, so a killed copy never leaves it behind.
// False, with the reason, when the lock cannot be had, or when the stored
// bytes may not be replaced by this user (a read-only file).
bool LockScoreStore(StoreError* error);
// Only while locked: puts bytes in place of the stored ones, whole and
// durably, so that after a crash at any moment the store holds either the
// old bytes or the new ones. A link is written through: its target changes.
bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error);
void UnlockScoreStore();
