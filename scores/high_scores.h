#pragma once
// The Top Ten: ten entries, best first, and the rule by which a score enters.

#include <cstdint>

#include "scores/score_store.h"

constexpr int HighScoreCount = 10;
constexpr int HighScoreNameSize = 10;

struct HighScoreEntry {
    int32_t score;
    // Up to the first NUL, or all ten bytes when there is none.
    char name[HighScoreNameSize];
};

struct HighScoreTable {
    HighScoreEntry entries[HighScoreCount];
};

extern HighScoreTable highScores;

// The index 0..9 at which score would enter, or 10 when it does not. A score
// equal to an entry's goes below it.
int RankForScore(int32_t score);
// Enters score under the first 9 characters of name at its rank; the entries
// below move down one place and the last drops out.
void InsertHighScore(int32_t score, const char* name);
// Every entry becomes 0 points for "Anonymous".
void ResetHighScores();

// The same three rules on any table, such as one just read from the store.
// MakeHighScoreEntry is the entry InsertIntoTable would store: the first 9
// characters of name, the rest of the field NUL. InsertIntoTable returns
// where the entry went, or 10 when it does not enter.
HighScoreEntry MakeHighScoreEntry(int32_t score, const char* name);
int RankInTable(const HighScoreTable& table, int32_t score);
int InsertIntoTable(HighScoreTable& table, int32_t score, const char* name);
void ResetTable(HighScoreTable& table);

// Reads the stored Top Ten (scores/score_store.h) into the table; entries
// that the stored bytes do not reach keep their values. False when nothing is
// stored or it cannot be read; the caller then resets the table. Another copy
// of the game may store entries at any time, so the table in memory is never
// written back as it is: a new entry goes into the table as it is stored at
// that moment, and only "Reset Scores", which drops every entry, writes
// without reading.
uint8_t LoadHighScores();

// The table as it is stored now, so that another copy of the game's entries
// show: read again from the store, with every entry this session could not
// store entered on top. Entries that the stored bytes do not reach (a file
// cut short) keep their values; a store that cannot be read leaves the table
// as it is.
void RefreshHighScores();

enum NewHighScoreOutcome {
    HighScoreNotStored,
    HighScoreStored,
    // The table was stored, but without the entry: another copy of the game
    // had stored better scores since the game ended.
    HighScoreOutranked,
};
// Enters score under the first 9 characters of name into the stored table as
// it is now, under the store's lock, and makes that the table. When it cannot
// be stored, the entry stays in the table for the rest of the session and is
// stored with the next save that succeeds.
NewHighScoreOutcome StoreNewHighScore(int32_t score, const char* name, StoreError* error);
// "Reset Scores": the default table, stored at once; entries not yet stored
// are dropped too.
uint8_t StoreDefaultHighScores(StoreError* error);
