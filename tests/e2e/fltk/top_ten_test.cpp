// The Top Ten dialog over the running program.

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "running_game.h"

namespace {

// The dialog's layout unit: MS Sans Serif 8 has base units of 6 x 13 pixels.
int PixelsX(int du) { return (du * 6 + 2) / 4; }
int PixelsY(int du) { return (du * 13 + 4) / 8; }

std::vector<uint8_t> DefaultFile() {
    std::vector<uint8_t> bytes;
    const uint8_t record[14] = {0, 0, 0, 0, 0x41, 0x6E, 0x6F, 0x6E, 0x79, 0x6D, 0x6F, 0x75, 0x73, 0};
    for (int i = 0; i < 10; ++i) bytes.insert(bytes.end(), record, record + 14);
    return bytes;
}

unsigned long OpenTopTen(RunningGame& game, WindowBox& dialogBox) {
    game.ChooseTopTen();
    const unsigned long dialog = FindWindowByClass(game.session, "QuadrafallTopTen", 2000);
    if (dialog == 0 || !GetWindowBox(game.session, dialog, dialogBox)) return 0;
    SleepMs(100);
    FocusWindow(game.session, dialog);
    return dialog;
}

// The dialog as it opens over a program started with file as its Top Ten,
// or, when storedWhileRunning, with file stored only once it runs (as
// another copy of the game would).
std::vector<uint32_t> TopTenPixels(const std::vector<uint8_t>* file, bool storedWhileRunning = false) {
    RunningGame game;
    if (!game.Start(storedWhileRunning ? nullptr : file)) return {};
    if (storedWhileRunning) {
        std::ofstream out(game.workDir + "/highscores.dat", std::ios::binary);
        out.write(reinterpret_cast<const char*>(file->data()), static_cast<std::streamsize>(file->size()));
    }
    WindowBox box{};
    if (OpenTopTen(game, box) == 0) return {};
    // The dialog may still be drawing its fields or its focus mark: take the
    // picture once two reads 100 ms apart agree.
    std::vector<uint32_t> pixels = ReadPixels(game.session, box.x, box.y, box.width, box.height);
    for (int attempt = 0; attempt < 20; ++attempt) {
        SleepMs(100);
        std::vector<uint32_t> again = ReadPixels(game.session, box.x, box.y, box.width, box.height);
        if (again == pixels) break;
        pixels = std::move(again);
    }
    return pixels;
}

TEST(TopTen, WithoutAFileShowsTheDefaultTableOfAnonymousAndZero) {
    const std::vector<uint32_t> withoutFile = TopTenPixels(nullptr);
    const std::vector<uint8_t> defaults = DefaultFile();
    const std::vector<uint32_t> withDefaultFile = TopTenPixels(&defaults);
    const std::vector<uint8_t> others = StoredScoreFile({{-1, "Zed"}, {7, "Yves"}, {6, "X"}, {5, "W"}, {4, "V"},
                                                         {3, "U"}, {2, "T"}, {1, "S"}, {0, "R"}, {0, "Q"}});
    const std::vector<uint32_t> withOtherFile = TopTenPixels(&others);
    const std::vector<uint32_t> withOtherFileStoredLater = TopTenPixels(&others, true);
    ASSERT_FALSE(withoutFile.empty());
    EXPECT_EQ(withoutFile, withDefaultFile);
    EXPECT_NE(withoutFile, withOtherFile);
    EXPECT_EQ(withOtherFileStoredLater, withOtherFile) << "the dialog showed the table read at start";
}

TEST(TopTen, OkClosesTheDialogAndWritesNothing) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    WindowBox box{};
    ASSERT_NE(OpenTopTen(game, box), 0u);
    TapKey(game.session, "Return");
    Flush(game.session);
    SleepMs(300);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallTopTen", 100), 0u);
    EXPECT_FALSE(game.ScoreFileExists());
}

TEST(TopTen, ResetScoresWritesTheDefaultFileOf140BytesAndCloses) {
    const std::vector<uint8_t> scores = StoredScoreFile({{900, "Ann"}, {800, "Bob"}, {700, "Cy"}, {600, "Di"},
                                                         {500, "Ed"}, {400, "Flo"}, {300, "Gus"}, {200, "Hal"},
                                                         {100, "Ida"}, {10, "Jo"}});
    RunningGame game;
    ASSERT_TRUE(game.Start(&scores));
    WindowBox box{};
    ASSERT_NE(OpenTopTen(game, box), 0u);
    // "Reset Scores" at 31, 129, 53 x 14 dialog units.
    ClickAt(game.session, box.x + PixelsX(31 + 26), box.y + PixelsY(129 + 7));
    Flush(game.session);
    SleepMs(300);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallTopTen", 100), 0u);
    const std::vector<uint8_t> written = game.ScoreFileBytes();
    EXPECT_EQ(written.size(), 140u);
    EXPECT_EQ(written, DefaultFile());
}

TEST(TopTen, EscapeAndTheCloseBoxLeaveItOpen) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    WindowBox box{};
    const unsigned long dialog = OpenTopTen(game, box);
    ASSERT_NE(dialog, 0u);
    TapKey(game.session, "Escape");
    RequestClose(game.session, dialog);
    Flush(game.session);
    SleepMs(300);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallTopTen", 100), dialog);
    EXPECT_EQ(WaitForExit(game.pid, 0), -1);
}

TEST(TopTen, AGameGoesOnUnderTheDialog) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseLevel(9);
    game.ChooseNew();
    const PieceBox before = game.FallingPieceBox();
    ASSERT_TRUE(before.found);
    WindowBox box{};
    ASSERT_NE(OpenTopTen(game, box), 0u);
    // At level 9 the piece falls a row every 100 ms; the part of the well
    // below the dialog shows it arrive.
    SleepMs(1500);
    const PieceBox later = game.FallingPieceBox();
    ASSERT_TRUE(later.found);
    EXPECT_GT(later.bottom, before.bottom);
}

}  // namespace
