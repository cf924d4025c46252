// The Top Ten in memory: where a score enters, inserting an entry, and the
// default table.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scores/high_scores.h"

namespace {

class TopTenRanking : public ::testing::Test {
protected:
    void SetUp() override { ResetHighScores(); }
};
class TopTenInsertion : public TopTenRanking {};
class TopTenDefaults : public ::testing::Test {};

// The name as the Top Ten dialog shows it: up to the first NUL, at most ten.
std::string ShownName(const HighScoreEntry& entry) {
    size_t length = 0;
    while (length < sizeof entry.name && entry.name[length] != '\0') ++length;
    return std::string(entry.name, length);
}

// A best-first table: 1000, 900, ..., 100, each under its own name.
void FillDescending() {
    for (int i = 0; i < HighScoreCount; ++i) {
        HighScoreEntry& entry = highScores.entries[i];
        entry.score = 1000 - 100 * i;
        std::memset(entry.name, 0, sizeof entry.name);
        entry.name[0] = static_cast<char>('A' + i);
    }
}

TEST_F(TopTenDefaults, EveryEntryIsZeroPointsForAnonymous) {
    std::memset(&highScores, 0x5A, sizeof highScores);

    ResetHighScores();

    const char expected[10] = {'A', 'n', 'o', 'n', 'y', 'm', 'o', 'u', 's', '\0'};
    for (const HighScoreEntry& entry : highScores.entries) {
        EXPECT_EQ(entry.score, 0);
        EXPECT_EQ(std::memcmp(entry.name, expected, 10), 0);
    }
}

TEST_F(TopTenRanking, OnTheDefaultTableZeroDoesNotEnterAndOnePointLeads) {
    EXPECT_EQ(RankForScore(0), 10);
    EXPECT_EQ(RankForScore(-5), 10);
    EXPECT_EQ(RankForScore(1), 0);
    EXPECT_EQ(RankForScore(999999), 0);
}

TEST_F(TopTenRanking, AScoreEqualToAnEntryGoesBelowIt) {
    FillDescending();

    EXPECT_EQ(RankForScore(1000), 1);
    EXPECT_EQ(RankForScore(500), 6);
    EXPECT_EQ(RankForScore(501), 5);
    EXPECT_EQ(RankForScore(1001), 0);
}

TEST_F(TopTenRanking, AScoreEqualToTheTenthDoesNotEnter) {
    FillDescending();

    EXPECT_EQ(RankForScore(100), 10);
    EXPECT_EQ(RankForScore(101), 9);
}

TEST_F(TopTenRanking, TiesAllRankBelowTheLastEqualScore) {
    for (HighScoreEntry& entry : highScores.entries) entry.score = 50;
    highScores.entries[9].score = 10;

    EXPECT_EQ(RankForScore(50), 9);
    EXPECT_EQ(RankForScore(51), 0);
}

TEST_F(TopTenRanking, AnOutOfOrderTableStopsAtTheLowestPlacedBetterEntry) {
    FillDescending();
    highScores.entries[7].score = 5000;

    EXPECT_EQ(RankForScore(2000), 8);
}

TEST_F(TopTenInsertion, InsertingAtTheTopMovesEveryoneDownAndDropsTheLast) {
    FillDescending();

    InsertHighScore(2000, "Zoe");

    EXPECT_EQ(highScores.entries[0].score, 2000);
    EXPECT_EQ(ShownName(highScores.entries[0]), "Zoe");
    for (int i = 1; i < HighScoreCount; ++i) {
        EXPECT_EQ(highScores.entries[i].score, 1000 - 100 * (i - 1)) << "place " << i + 1;
        EXPECT_EQ(ShownName(highScores.entries[i]), std::string(1, static_cast<char>('A' + i - 1)));
    }
}

TEST_F(TopTenInsertion, InsertingAtTheBottomReplacesOnlyTheLast) {
    FillDescending();

    InsertHighScore(150, "Last");

    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(highScores.entries[i].score, 1000 - 100 * i);
        EXPECT_EQ(ShownName(highScores.entries[i]), std::string(1, static_cast<char>('A' + i)));
    }
    EXPECT_EQ(highScores.entries[9].score, 150);
    EXPECT_EQ(ShownName(highScores.entries[9]), "Last");
}

TEST_F(TopTenInsertion, AnEqualScoreIsInsertedBelowTheEarlierOne) {
    FillDescending();

    InsertHighScore(700, "Tie");

    EXPECT_EQ(ShownName(highScores.entries[3]), "D");
    EXPECT_EQ(highScores.entries[4].score, 700);
    EXPECT_EQ(ShownName(highScores.entries[4]), "Tie");
    EXPECT_EQ(ShownName(highScores.entries[5]), "E");
}

TEST_F(TopTenInsertion, AScoreThatDoesNotEnterLeavesTheTableAlone) {
    FillDescending();
    const HighScoreTable before = highScores;

    InsertHighScore(100, "Nobody");

    for (int i = 0; i < HighScoreCount; ++i) {
        EXPECT_EQ(highScores.entries[i].score, before.entries[i].score);
        EXPECT_EQ(std::memcmp(highScores.entries[i].name, before.entries[i].name, 10), 0);
    }
}

TEST_F(TopTenInsertion, ATwelveCharacterNameIsStoredAsItsFirstNine) {
    InsertHighScore(10, "Bartholomews");

    EXPECT_EQ(ShownName(highScores.entries[0]), "Bartholom");
    EXPECT_EQ(highScores.entries[0].name[9], '\0');
}

TEST_F(TopTenInsertion, AnEmptyNameStaysEmpty) {
    InsertHighScore(10, "");

    EXPECT_EQ(ShownName(highScores.entries[0]), "");
    for (char c : highScores.entries[0].name) EXPECT_EQ(c, '\0');
}

TEST_F(TopTenInsertion, AShortNameOverwritesEveryByteOfTheOldName) {
    InsertHighScore(10, "Al");

    const char expected[10] = {'A', 'l', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(highScores.entries[0].name, expected, 10), 0);
}

TEST_F(TopTenInsertion, ATenCharacterNameFromTheFileKeepsAllTenWhenMovingDown) {
    FillDescending();
    std::memcpy(highScores.entries[2].name, "Maximilian", 10);

    InsertHighScore(5000, "New");

    EXPECT_EQ(ShownName(highScores.entries[3]), "Maximilian");
    EXPECT_EQ(highScores.entries[3].score, 800);
}

}  // namespace
