// A game that ends with a Top Ten place asks for a name and stores it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

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

// The template's client area of 99 x 118 dialog units (MS Sans Serif 8:
// base units of 6 x 13 pixels) inside a one-pixel black border, no caption.
TEST(NameEntry, AOnePixelBlackBorderSurroundsTheClientArea) {
    const std::vector<uint8_t> file = StoredScoreFile(NegativeTable);
    RunningGame game;
    ASSERT_TRUE(game.Start(&file));
    const unsigned long dialog = PlayUntilTheNameEntryOpens(game);
    ASSERT_NE(dialog, 0u);
    WindowBox box{};
    ASSERT_TRUE(GetWindowBox(game.session, dialog, box));
    const int clientWidth = (99 * 6 + 2) / 4, clientHeight = (118 * 13 + 4) / 8;
    EXPECT_EQ(box.width, clientWidth + 2);
    EXPECT_EQ(box.height, clientHeight + 2);
    const std::vector<uint32_t> pixels = ReadPixels(game.session, box.x, box.y, box.width, box.height);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(box.width) * box.height);
    int borderNotBlack = 0, insideBlack = 0;
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            const uint32_t pixel = pixels[static_cast<size_t>(y) * box.width + x];
            const int ring = std::min(std::min(x, y), std::min(box.width - 1 - x, box.height - 1 - y));
            if (ring == 0) borderNotBlack += pixel != 0;
            if (ring == 1) insideBlack += pixel == 0;
        }
    }
    EXPECT_EQ(borderNotBlack, 0);
    EXPECT_EQ(insideBlack, 0) << "the border is one pixel wide";
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

// A save that fails (here a table nothing may write or replace, since root
// writes even read-only files) keeps the old file and is told in a message
// box over the name entry.
TEST(NameEntry, ASaveThatFailsIsToldInAMessageBoxAndTheFileStays) {
    const std::vector<uint8_t> file = StoredScoreFile(NegativeTable);
    RunningGame game;
    ASSERT_TRUE(game.Start(&file));
    ASSERT_EQ(std::system(("chattr +i '" + game.workDir + "/highscores.dat'").c_str()), 0);
    const unsigned long dialog = PlayUntilTheNameEntryOpens(game);
    ASSERT_NE(dialog, 0u);

    TapKey(game.session, "Return");
    Flush(game.session);
    unsigned long message = 0;
    for (const double start = NowMs(); message == 0 && NowMs() - start < 3000; SleepMs(20)) {
        for (unsigned long window : ListTopLevelWindows(game.session)) {
            if (window != game.window && window != dialog) message = window;
        }
    }

    EXPECT_NE(message, 0u) << "no message box told of the failed save";
    EXPECT_EQ(game.ScoreFileBytes(), file);
    FocusWindow(game.session, message);
    TapKey(game.session, "Return");
    Flush(game.session);
    SleepMs(400);
    EXPECT_EQ(ListTopLevelWindows(game.session), std::vector<unsigned long>{game.window}) << "the boxes stayed open";
}

}  // namespace
