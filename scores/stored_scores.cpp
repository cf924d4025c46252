// The Top Ten in memory kept in step with the stored one. Another copy of the
// game may store entries at any time, so every change is made to the table as
// it is stored at that moment, under the store's lock, and the table is read
// again whenever the player is about to see it or a game has ended.

#include <cstddef>

#include "scores/high_scores.h"
#include "scores/score_codec.h"
#include "scores/score_store.h"

namespace {

// What this session changed but could not store: entered anew into every
// table read from the store until a save succeeds, so that no entry is lost
// and the player goes on seeing the table of this session.
struct UnstoredChanges {
    bool reset;  // a "Reset Scores" whose save failed: the stored entries no longer count
    int count;
    HighScoreEntry entries[HighScoreCount];  // in the order they were made
    HighScoreTable stored;                   // the stored table under them, as last read
};

UnstoredChanges unstored;

// Only the ten best unstored entries can ever show in a Top Ten, so when the
// list is full the lowest (the latest of equal lowest) makes room.
void RememberUnstored(int32_t score, const char* name) {
    if (unstored.count == 0) unstored.stored = highScores;
    if (unstored.count == HighScoreCount) {
        int lowest = 0;
        for (int i = 1; i < unstored.count; ++i) {
            if (unstored.entries[i].score <= unstored.entries[lowest].score) lowest = i;
        }
        if (score <= unstored.entries[lowest].score) return;
        for (int i = lowest + 1; i < unstored.count; ++i) unstored.entries[i - 1] = unstored.entries[i];
        --unstored.count;
    }
    unstored.entries[unstored.count++] = MakeHighScoreEntry(score, name);
}

void ClearError(StoreError* error) {
    if (error != nullptr) error->reason[0] = '\0';
}

// The stored table, read as a start-up reads it: entries that the stored
// bytes do not reach (a file cut short) keep the values this session has for
// them, apart from its unstored changes. Nothing stored at all (a file the
// player removed) reads as the defaults.
StoreReadResult ReadStoredTable(HighScoreTable& table, StoreError* error) {
    uint8_t stored[HighScoreStoredMaxSize];
    std::size_t size = 0;
    const StoreReadResult result = ReadScoreStore(stored, sizeof stored, &size, error);
    table = unstored.count > 0 ? unstored.stored : highScores;
    if (result == StoreFound) DecodeHighScores(stored, size, table);
    if (result == StoreMissing) ResetTable(table);
    if (result != StoreFailed) unstored.stored = table;
    return result;
}

// The table this session shows: the stored one with its own changes on top.
// latestPlace, when asked for, is where the latest change entered:
// HighScoreCount when it no longer does.
bool ReadSessionTable(HighScoreTable& table, StoreError* error, int* latestPlace = nullptr) {
    if (unstored.reset) {
        ResetTable(table);
    } else if (ReadStoredTable(table, error) == StoreFailed) {
        return false;
    }
    int place = HighScoreCount;
    for (int i = 0; i < unstored.count; ++i) {
        place = InsertIntoTable(table, unstored.entries[i].score, unstored.entries[i].name);
    }
    if (latestPlace != nullptr) *latestPlace = place;
    return true;
}

bool StoreTable(const HighScoreTable& table, StoreError* error) {
    uint8_t stored[HighScoreStoredMaxSize];
    const std::size_t size = EncodeHighScores(table, stored);
    return ReplaceScoreStore(stored, size, error);
}

enum SaveOutcome { Stored, NotWritten, NotRead };

// Under the lock: the stored table as it is now with this session's changes
// entered, written back, and shown. A store that cannot be read is never
// overwritten, since its entries would be lost.
SaveOutcome StoreUnstoredChanges(StoreError* error, int* latestPlace) {
    if (!LockScoreStore(error)) return NotRead;
    HighScoreTable table;
    SaveOutcome outcome = NotRead;
    if (ReadSessionTable(table, error, latestPlace)) {
        outcome = StoreTable(table, error) ? Stored : NotWritten;
        highScores = table;
    }
    UnlockScoreStore();
    if (outcome == Stored) unstored = UnstoredChanges{};
    return outcome;
}

// Writes the table in memory whole in place of the stored one, without
// reading that first: only for "Reset Scores", which drops every stored
// entry anyway. False, with the reason, when it could not be stored; the
// stored table is then as it was.
bool SaveHighScores(StoreError* error) {
    if (!LockScoreStore(error)) return false;
    const bool stored = StoreTable(highScores, error);
    UnlockScoreStore();
    return stored;
}

}  // namespace

// Any bytes are accepted: a short file fills the entries it reaches, and
// whatever follows the tenth record is ignored. The session starts here, so
// it has no unstored changes yet.
uint8_t LoadHighScores() {
    unstored = UnstoredChanges{};
    uint8_t stored[HighScoreStoredMaxSize];
    std::size_t size = 0;
    if (ReadScoreStore(stored, sizeof stored, &size, nullptr) != StoreFound) return 0;
    DecodeHighScores(stored, size, highScores);
    return 1;
}

void RefreshHighScores() {
    HighScoreTable table;
    if (ReadSessionTable(table, nullptr)) highScores = table;
}

NewHighScoreOutcome StoreNewHighScore(int32_t score, const char* name, StoreError* error) {
    ClearError(error);
    RememberUnstored(score, name);
    int place = HighScoreCount;
    const SaveOutcome outcome = StoreUnstoredChanges(error, &place);
    // Without a fresh read the entry joins the table the session already shows.
    if (outcome == NotRead) InsertHighScore(score, name);
    if (outcome != Stored) return HighScoreNotStored;
    return place < HighScoreCount ? HighScoreStored : HighScoreOutranked;
}

uint8_t StoreDefaultHighScores(StoreError* error) {
    ClearError(error);
    unstored = UnstoredChanges{};
    ResetHighScores();
    if (SaveHighScores(error)) return 1;
    unstored.reset = true;
    return 0;
}
