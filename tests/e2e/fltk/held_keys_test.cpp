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

// Waits up to 2 s for the window's title; true when it came.
bool TitleBecomes(RunningGame& game, const std::string& title) {
    const double start = NowMs();
    while (WindowTitleOf(game.session, game.window) != title) {
        if (NowMs() - start > 2000) return false;
        SleepMs(10);
    }
    return true;
}

void PressP(RunningGame& game) { TapKey(game.session, "p"); }
void Minimise(RunningGame& game) { MinimizeWindow(game.session, game.window); }
void StayPut(RunningGame&) {}
void Restore(RunningGame& game) {
    RestoreWindow(game.session, game.window);
    SleepMs(300);
    FocusTheGame(game);
}

struct PauseWay {
    const char* way;
    bool windowManager;
    void (*pause)(RunningGame&);
    void (*comeBack)(RunningGame&);
};

TEST(HeldKeys, APausedGameStandsStillWhateverIsPressedUntilPGoesOn) {
    const PauseWay ways[] = {
        {"P", false, PressP, StayPut},
        {"the window minimised under openbox", true, Minimise, Restore},
    };
    const char* const arrows[] = {"Left", "Right", "Up", "Down"};
    for (const PauseWay& way : ways) {
        SCOPED_TRACE(way.way);
        RunningGame game;
        Launch launch;
        launch.windowManager = way.windowManager;
        ASSERT_TRUE(game.Start(nullptr, launch));
        game.ChooseNew();
        FocusTheGame(game);
        const std::vector<uint32_t> atPause = ReadWell(game);
        way.pause(game);
        ASSERT_TRUE(TitleBecomes(game, "Quadrafall - Paused"));
        way.comeBack(game);
        ASSERT_TRUE(TitleBecomes(game, "Quadrafall - Paused")) << "coming back goes on by itself";
        const std::vector<uint32_t> paused = ReadWell(game);
        for (int i = 0; i < 20; ++i) {
            TapKey(game.session, arrows[i % 4]);
            SleepMs(100);
        }
        EXPECT_EQ(ReadWell(game), paused) << "the well moved while paused";
        PressP(game);
        ASSERT_TRUE(TitleBecomes(game, "Quadrafall"));
        EXPECT_GE(WellChanges(game, 1500), 1) << "gravity did not go on";
    }
}

}  // namespace
