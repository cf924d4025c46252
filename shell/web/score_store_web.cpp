// The Top Ten's stored bytes in the browser's local storage, so that a
// reload keeps the table. The bytes are exactly those of the desktop's
// "highscores.dat", kept as a string of one character per byte.

#include <emscripten.h>

#include "scores/score_store.h"

// Each answers 0 on success and otherwise writes the browser's reason, as
// UTF-8 without a closing full stop, into reason. Storage can be switched
// off or full, and then every access or every write throws.
EM_JS(int, ReadPageStorage, (uint8_t* bytes, int capacity, int* size, char* reason, int reasonCapacity), {
    return pageStorage.read(bytes, capacity, size, reason, reasonCapacity);
});
// Holds the game until the lock is granted or timeoutMs have passed.
EM_ASYNC_JS(int, LockPageStorage, (int timeoutMs, char* reason, int reasonCapacity), {
    return await pageStorage.lock(timeoutMs, reason, reasonCapacity);
});
EM_JS(int, WritePageStorage, (const uint8_t* bytes, int size, char* reason, int reasonCapacity), {
    return pageStorage.write(bytes, size, reason, reasonCapacity);
});
EM_JS(void, UnlockPageStorage, (), { pageStorage.unlock(); });

namespace {

// ReadPageStorage's answer when nothing is stored yet.
constexpr int NothingStored = 1;
// Long enough for another tab's read-change-write, short enough that the
// player hardly waits.
constexpr int LockTimeoutMs = 2000;

// The reason goes where the caller asked for it, if it asked.
char* ReasonOf(StoreError* error, StoreError& unwanted) {
    StoreError& target = error != nullptr ? *error : unwanted;
    target.reason[0] = '\0';
    return target.reason;
}

}  // namespace

const char* ScoreStoreName() { return "this browser's storage"; }

StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    StoreError unwanted;
    int read = 0;
    const int result =
        ReadPageStorage(bytes, static_cast<int>(capacity), &read, ReasonOf(error, unwanted), sizeof unwanted.reason);
    *size = 0;
    if (result == NothingStored) return StoreMissing;
    if (result != 0) return StoreFailed;
    *size = static_cast<std::size_t>(read);
    return StoreFound;
}

// The browser's lock for this page's origin, shared by all its tabs and
// let go by the browser when a tab closes or crashes. Where the browser has
// no such lock (a page served over plain http from another machine) the
// read-change-write still runs as one event of the page, which nothing in
// this tab can interrupt.
bool LockScoreStore(StoreError* error) {
    StoreError unwanted;
    return LockPageStorage(LockTimeoutMs, ReasonOf(error, unwanted), sizeof unwanted.reason) == 0;
}

bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error) {
    StoreError unwanted;
    return WritePageStorage(bytes, static_cast<int>(size), ReasonOf(error, unwanted), sizeof unwanted.reason) == 0;
}

void UnlockScoreStore() { UnlockPageStorage(); }
