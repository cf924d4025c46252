// The Level menu's check mark, read from the pixels of the opened menu: a
// tick beside the chosen level and nothing beside the others.

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
constexpr int Inset = 3;             // inside the menu's border
constexpr int MarkColumnWidth = 14;  // from the border to the item texts

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

// The levels whose item shows anything in the check mark column: the item
// texts are the runs of pixel rows with something right of the column, and
// a mark belongs to the text it lies beside. False while the menu does not
// show ten texts.
bool ReadMarkedLevels(RunningGame& game, const WindowBox& menu, std::vector<int>& marked) {
    const int width = menu.width - 2 * Inset, height = menu.height - 2 * Inset;
    const std::vector<uint32_t> pixels = ReadPixels(game.session, menu.x + Inset, menu.y + Inset, width, height);
    const uint32_t background = pixels.front();
    auto drawnIn = [&](int y, int fromX, int toX) {
        for (int x = fromX; x < toX; ++x) {
            if (pixels[static_cast<size_t>(y) * width + x] != background) return true;
        }
        return false;
    };
    std::vector<int> textTops, textBottoms;
    for (int y = 0; y < height; ++y) {
        if (!drawnIn(y, MarkColumnWidth, width)) continue;
        if (textBottoms.empty() || textBottoms.back() != y) {
            textTops.push_back(y);
            textBottoms.push_back(y);
        }
        textBottoms.back() = y + 1;
    }
    if (textTops.size() != LevelItems) return false;
    marked.clear();
    for (int item = 0; item < LevelItems; ++item) {
        // Half the gap to the neighbouring texts belongs to each item.
        const int top = item == 0 ? 0 : (textBottoms[item - 1] + textTops[item]) / 2;
        const int bottom = item == LevelItems - 1 ? height : (textBottoms[item] + textTops[item + 1]) / 2;
        bool mark = false;
        for (int y = top; y < bottom; ++y) mark = mark || drawnIn(y, 0, MarkColumnWidth);
        if (mark) marked.push_back(item);
    }
    return true;
}

// The menu's window can be on the screen a while before its items are
// drawn on a loaded machine: empty when ten texts never show.
std::vector<int> MarkedLevels(RunningGame& game, const WindowBox& menu) {
    std::vector<int> marked;
    const double start = NowMs();
    while (!ReadMarkedLevels(game, menu, marked)) {
        if (NowMs() - start > 2000) return {};
        SleepMs(20);
    }
    return marked;
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
    EXPECT_EQ(MarkedLevels(game, levelMenu), std::vector<int>{0});
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
    EXPECT_EQ(MarkedLevels(game, levelMenu), std::vector<int>{5});
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
