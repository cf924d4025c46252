// Held keys when the keyboard leaves the game (the window loses the focus,
// the menu opens): the key's release will go elsewhere, so the game forgets
// every held key as the keyboard leaves, and nothing moves by itself while
// it is away or once it is back.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "render/layout.h"
#include "running_game.h"

namespace {

std::vector<uint32_t> ReadWell(RunningGame& game) {
    const Rect& well = BoardPanelRect;
    return ReadPixels(game.session, game.viewX + well.left, game.viewY + well.top, well.right - well.left,
                      well.bottom - well.top);
}

// How often the well's picture changes within ms milliseconds.
int WellChanges(RunningGame& game, int ms) {
    std::vector<uint32_t> last = ReadWell(game);
    int changes = 0;
    const double start = NowMs();
    while (NowMs() - start < ms) {
        SleepMs(5);
        std::vector<uint32_t> now = ReadWell(game);
        if (now == last) continue;
        ++changes;
        last = std::move(now);
    }
    return changes;
}

void FocusNowhere(RunningGame& game) { FocusWindow(game.session, 0); }
void FocusTheGame(RunningGame& game) { FocusWindow(game.session, game.window); }
void OpenTheMenuWithF10(RunningGame& game) { TapKey(game.session, "F10"); }
void OpenTheMenuWithAClick(RunningGame& game) { ClickAt(game.session, game.box.x + 20, game.box.y + 8); }
void CloseTheMenu(RunningGame& game) { TapKey(game.session, "Escape"); }

struct Departure {
    const char* way;
    void (*leave)(RunningGame&);
    void (*comeBack)(RunningGame&);
};

TEST(HeldKeys, KeysHeldWhenTheKeyboardLeavesTheGameAreForgotten) {
    const Departure departures[] = {
        {"the window loses the keyboard", FocusNowhere, FocusTheGame},
        {"the menu opens from the keyboard", OpenTheMenuWithF10, CloseTheMenu},
        {"the menu opens with a click", OpenTheMenuWithAClick, CloseTheMenu},
    };
    for (const Departure& departure : departures) {
        SCOPED_TRACE(departure.way);
        RunningGame game;
        ASSERT_TRUE(game.Start());
        TurnOffKeyRepeat(game.session);
        game.ChooseNew();
        FocusWindow(game.session, game.window);
        PressKey(game.session, "Down");
        // Held, Down drops the piece a row every 50 ms.
        ASSERT_GE(WellChanges(game, 300), 3);
        departure.leave(game);
        Flush(game.session);
        SleepMs(150);
        // Gravity alone moves the piece one row a second at level 0, while
        // the keyboard is away and once it is back.
        EXPECT_LE(WellChanges(game, 600), 1) << "while away";
        ReleaseKey(game.session, "Down");
        Flush(game.session);
        departure.comeBack(game);
        Flush(game.session);
        SleepMs(100);
        EXPECT_LE(WellChanges(game, 700), 1) << "once back";
    }
}

bool TitleBecomes(RunningGame& game, const std::string& title) {
    for (int waited = 0; WindowTitleOf(game.session, game.window) != title; waited += 10) {
        if (waited > 2000) return false;
        SleepMs(10);
    }
    return true;
}

// P pauses, and so does a window minimised under a window manager: the well
// stands still whatever is pressed, the title says so, and only P goes on.
TEST(HeldKeys, APausedGameStandsStillWhateverIsPressedUntilPGoesOn) {
    for (const bool minimise : {false, true}) {
        SCOPED_TRACE(minimise ? "minimised under openbox" : "P");
        RunningGame game;
        Launch launch;
        launch.windowManager = minimise;
        ASSERT_TRUE(game.Start(nullptr, launch));
        game.ChooseNew();
        minimise ? MinimizeWindow(game.session, game.window) : TapKey(game.session, "p");
        ASSERT_TRUE(TitleBecomes(game, "Quadrafall - Paused"));
        if (minimise) RestoreWindow(game.session, game.window);
        SleepMs(300);
        FocusTheGame(game);
        const std::vector<uint32_t> paused = ReadWell(game);
        for (const char* arrow : {"Left", "Right", "Up", "Down", "Left", "Right", "Up", "Down"}) {
            TapKey(game.session, arrow);
            SleepMs(250);
        }
        EXPECT_EQ(ReadWell(game), paused) << "the well moved while paused";
        TapKey(game.session, "p");
        ASSERT_TRUE(TitleBecomes(game, "Quadrafall"));
        EXPECT_GE(WellChanges(game, 1500), 1) << "gravity did not go on";
    }
}

}  // namespace
