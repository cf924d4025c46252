#pragma once
// The Top Ten: ten entries, best first, and the rule by which a score enters.

#include <cstdint>

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
// Reads "highscores.dat" in the current directory. False when the file
// cannot be opened or read; the caller then resets the table.
uint8_t LoadHighScores();
// Writes "highscores.dat" in full. False when it could not be written; the
// file on disk is then left as it was.
uint8_t SaveHighScores();
