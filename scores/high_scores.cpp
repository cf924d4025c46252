#include "scores/high_scores.h"

#include <cstring>

HighScoreTable highScores;

int RankInTable(const HighScoreTable& table, int32_t score) {
    int place = HighScoreCount;
    for (int i = HighScoreCount - 1; i >= 0; --i) {
        if (table.entries[i].score >= score) break;
        place = i;
    }
    return place;
}

HighScoreEntry MakeHighScoreEntry(int32_t score, const char* name) {
    HighScoreEntry entry;
    std::memset(entry.name, 0, sizeof entry.name);
    for (int i = 0; i < HighScoreNameSize - 1 && name[i] != '\0'; ++i) entry.name[i] = name[i];
    entry.score = score;
    return entry;
}

int InsertIntoTable(HighScoreTable& table, int32_t score, const char* name) {
    const int place = RankInTable(table, score);
    if (place >= HighScoreCount) return HighScoreCount;
    for (int k = HighScoreCount - 2; k >= place; --k) table.entries[k + 1] = table.entries[k];
    table.entries[place] = MakeHighScoreEntry(score, name);
    return place;
}

void ResetTable(HighScoreTable& table) {
    for (HighScoreEntry& entry : table.entries) {
        entry.score = 0;
        std::strncpy(entry.name, "Anonymous", sizeof entry.name);
    }
}

int RankForScore(int32_t score) { return RankInTable(highScores, score); }

void InsertHighScore(int32_t score, const char* name) { InsertIntoTable(highScores, score, name); }

void ResetHighScores() { ResetTable(highScores); }
