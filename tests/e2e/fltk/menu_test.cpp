// The Level menu's check mark, read from the pixels of the opened menu.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/game_state.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "running_game.h"
#include "shell/common/window_events.h"

namespace {

constexpr int LevelItems = 10;
constexpr int MarkColumns = 20;  // the check boxes, left of the item texts

// Opens "Game" > "Level" with the pointer, so that no item is highlighted,
// and returns the box of the level drop-down.
bool OpenLevelMenu(RunningGame& game, WindowBox& levelMenu) {
    ClickAt(game.session, game.box.x + 20, game.box.y + 8);
    const unsigned long gameMenu = game.WaitForOtherWindow(2000);
    WindowBox gameBox{};
    if (gameMenu == 0 || !GetWindowBox(game.session, gameMenu, gameBox)) return false;
    // "Level" is the second of the five items.
    MovePointer(game.session, gameBox.x + gameBox.width / 2, gameBox.y + gameBox.height * 3 / 10);
    const double start = NowMs();
    while (NowMs() - start < 2000) {
        const std::vector<unsigned long> windows = ListTopLevelWindows(game.session);
        if (windows.size() >= 3 && windows.back() != gameMenu) {
            SleepMs(100);
            return GetWindowBox(game.session, windows.back(), levelMenu);
        }
        SleepMs(10);
    }
    return false;
}

void CloseMenus(RunningGame& game) {
    TapKey(game.session, "Escape");
    TapKey(game.session, "Escape");
    Flush(game.session);
    SleepMs(150);
}

// The check boxes of the ten items, top to bottom: the runs of pixel rows
// in the box column that hold anything but the menu's background.
std::vector<std::vector<uint32_t>> CheckBoxes(RunningGame& game, const WindowBox& menu) {
    const int inset = 3;  // inside the menu's border
    const int width = MarkColumns - inset;
    const std::vector<uint32_t> pixels = ReadPixels(game.session, menu.x + inset, menu.y + inset, width, menu.height - 2 * inset);
    const uint32_t background = pixels.front();
    std::vector<std::vector<uint32_t>> boxes;
    bool inBox = false;
    for (int y = 0; y < menu.height - 2 * inset; ++y) {
        const std::vector<uint32_t> row(pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
        const bool blank = std::all_of(row.begin(), row.end(), [&](uint32_t pixel) { return pixel == background; });
        if (!blank && !inBox) boxes.emplace_back();
        if (!blank) boxes.back().insert(boxes.back().end(), row.begin(), row.end());
        inBox = !blank;
    }
    return boxes;
}

// The one item whose check box looks unlike the other nine; -1 when not
// exactly one does.
int CheckedLevel(RunningGame& game, const WindowBox& menu) {
    const std::vector<std::vector<uint32_t>> boxes = CheckBoxes(game, menu);
    if (boxes.size() != LevelItems) return -1;
    int unlike = -1;
    for (int item = 0; item < LevelItems; ++item) {
        int same = 0;
        for (int other = 0; other < LevelItems; ++other) same += other != item && boxes[other] == boxes[item];
        if (same == 0) {
            if (unlike != -1) return -1;
            unlike = item;
        } else if (same != LevelItems - 2) {
            return -1;
        }
    }
    return unlike;
}

std::vector<uint32_t> Region(const std::vector<uint32_t>& view, const Rect& rect) {
    std::vector<uint32_t> pixels;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) pixels.push_back(view[static_cast<size_t>(y) * ClientWidth + x]);
    }
    return pixels;
}

std::vector<uint32_t> ExpectedLevelReadout(int level) {
    OnMainWindowCreated();
    gameState.level = level;
    std::vector<uint32_t> pixels(static_cast<size_t>(ClientWidth) * ClientHeight);
    Surface target{pixels.data(), ClientWidth, ClientHeight};
    RenderFrame(&target);
    ShutdownGame();
    gameState.level = 0;
    return Region(pixels, LevelBoxRect);
}

TEST(LevelMenu, AtStartOnlyLevelZeroIsChecked) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    WindowBox levelMenu{};
    ASSERT_TRUE(OpenLevelMenu(game, levelMenu));
    EXPECT_EQ(CheckedLevel(game, levelMenu), 0);
    CloseMenus(game);
}

TEST(LevelMenu, ChoosingALevelMovesTheCheckMarkAndTheNextGameStartsThere) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    game.ChooseLevel(5);
    // The readout keeps the running level until "New".
    EXPECT_EQ(Region(game.ReadView(), LevelBoxRect), ExpectedLevelReadout(0));
    WindowBox levelMenu{};
    ASSERT_TRUE(OpenLevelMenu(game, levelMenu));
    EXPECT_EQ(CheckedLevel(game, levelMenu), 5);
    CloseMenus(game);
    game.ChooseNew();
    EXPECT_EQ(Region(game.ReadView(), LevelBoxRect), ExpectedLevelReadout(5));
}

TEST(LevelMenu, SetKeysCannotBeChosen) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    ClickAt(game.session, game.box.x + 20, game.box.y + 8);
    const unsigned long gameMenu = game.WaitForOtherWindow(2000);
    WindowBox gameBox{};
    ASSERT_TRUE(gameMenu != 0 && GetWindowBox(game.session, gameMenu, gameBox));
    // "Set Keys" is the fourth of the five items.
    ClickAt(game.session, gameBox.x + gameBox.width / 2, gameBox.y + gameBox.height * 7 / 10);
    SleepMs(300);
    EXPECT_EQ(FindWindowByClass(game.session, "QuadrafallSetKeys", 200), 0u);
    CloseMenus(game);
}

}  // namespace
