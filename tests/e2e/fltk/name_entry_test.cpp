// A game that ends with a Top Ten place asks for a name and stores it.

#include <gtest/gtest.h>

#include "running_game.h"

namespace {

// Every place holds -1, so the 0 points of a game that clears no row
// still enter the table, at the top.
const std::vector<std::pair<int32_t, std::string>> NegativeTable(10, {-1, "Nobody"});

// Holds Down until the well fills up: every piece drops straight down in
// the middle, clears no row, and the game ends with 0 points.
unsigned long PlayUntilTheNameEntryOpens(RunningGame& game) {
    game.ChooseNew();
    FocusWindow(game.session, game.window);
    PressKey(game.session, "Down");
    const unsigned long dialog = FindWindowByClass(game.session, "QuadrafallNameEntry", 40000);
    ReleaseKey(game.session, "Down");
    Flush(game.session);
    SleepMs(200);
    if (dialog != 0) FocusWindow(game.session, dialog);
    return dialog;
}

TEST(NameEntry, TheTypedNameAndScoreLandInTheFileCutToNineCharacters) {
    const std::vector<uint8_t> file = StoredScoreFile(NegativeTable);
    RunningGame game;
    ASSERT_TRUE(game.Start(&file));
    const unsigned long dialog = PlayUntilTheNameEntryOpens(game);
    ASSERT_NE(dialog, 0u);
    // The focus starts on OK: Tab reaches the name field.
    TapKey(game.session, "Tab");
    TypeText(game.session, "Alexandrina");
    TapKey(game.session, "Return");
    Flush(game.session);
    SleepMs(400);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallNameEntry", 100), 0u);
    std::vector<std::pair<int32_t, std::string>> expected = {{0, "Alexandri"}};
    expected.insert(expected.end(), NegativeTable.begin(), NegativeTable.end() - 1);
    EXPECT_EQ(game.ScoreFileBytes(), StoredScoreFile(expected));
}

TEST(NameEntry, EscapeLeavesItOpenAndEnterAtOnceStoresAnEmptyName) {
    const std::vector<uint8_t> file = StoredScoreFile(NegativeTable);
    RunningGame game;
    ASSERT_TRUE(game.Start(&file));
    const unsigned long dialog = PlayUntilTheNameEntryOpens(game);
    ASSERT_NE(dialog, 0u);
    TapKey(game.session, "Escape");
    RequestClose(game.session, dialog);
    Flush(game.session);
    SleepMs(300);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallNameEntry", 100), dialog);
    EXPECT_EQ(game.ScoreFileBytes(), file);
    TapKey(game.session, "Return");
    Flush(game.session);
    SleepMs(400);
    std::vector<std::pair<int32_t, std::string>> expected = {{0, ""}};
    expected.insert(expected.end(), NegativeTable.begin(), NegativeTable.end() - 1);
    EXPECT_EQ(game.ScoreFileBytes(), StoredScoreFile(expected));
}

}  // namespace
