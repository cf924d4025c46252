#include "scores/high_scores.h"

#include <cstring>

HighScoreTable highScores;

int RankForScore(int32_t score) {
    int place = HighScoreCount;
    for (int i = HighScoreCount - 1; i >= 0; --i) {
        if (highScores.entries[i].score >= score) break;
        place = i;
    }
    return place;
}

void InsertHighScore(int32_t score, const char* name) {
    const int place = RankForScore(score);
    if (place >= HighScoreCount) return;
    for (int k = HighScoreCount - 2; k >= place; --k) highScores.entries[k + 1] = highScores.entries[k];
    HighScoreEntry& entry = highScores.entries[place];
    std::memset(entry.name, 0, sizeof entry.name);
    for (int i = 0; i < HighScoreNameSize - 1 && name[i] != '\0'; ++i) entry.name[i] = name[i];
    entry.score = score;
}

void ResetHighScores() {
    for (HighScoreEntry& entry : highScores.entries) {
        entry.score = 0;
        std::strncpy(entry.name, "Anonymous", sizeof entry.name);
    }
}
