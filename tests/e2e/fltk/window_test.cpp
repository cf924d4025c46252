// The main window as a player first sees it.

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "running_game.h"
#include "shell/common/window_events.h"
#include "zoomed_frame.h"

namespace {

TEST(MainWindow, IdleFrameIsThePixelsTheSoftwareRendererComposes) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    const std::vector<uint32_t> expected = ExpectedIdleFrame();
    const std::vector<uint32_t> shown = game.ReadView();
    if (shown != expected) {
        SavePng("idle_frame_shown.png", shown, ClientWidth, ClientHeight);
        SavePng("idle_frame_expected.png", expected, ClientWidth, ClientHeight);
    }
    ASSERT_EQ(shown.size(), expected.size());
    int differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != expected[i];
    EXPECT_EQ(differing, 0);
}

TEST(MainWindow, ClientAreaIs291By384BelowTheMenuBar) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(game.box.width, ClientWidth);
    EXPECT_GT(game.box.height, ClientHeight);
    EXPECT_LT(game.box.height, ClientHeight + 40);
}

TEST(MainWindow, EscapeLeavesTheWindowOpen) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    TapKey(game.session, "Escape");
    Flush(game.session);
    EXPECT_EQ(WaitForExit(game.pid, 500), -1);
    EXPECT_EQ(FindWindowByClass(game.session, "Quadrafall", 100), game.window);
}

TEST(MainWindow, ViewUncoveredByADialogShowsTheSameFrameAgain) {
    RunningGame game;
    ASSERT_TRUE(game.Start());
    const std::vector<uint32_t> expected = ExpectedIdleFrame();
    game.ChooseTopTen();
    const unsigned long dialog = game.WaitForOtherWindow(2000);
    ASSERT_NE(dialog, 0u);
    EXPECT_NE(game.ReadView(), expected);
    // Read before the dialog goes: once it has, there is no change to wait for.
    const std::vector<uint32_t> covered = ReadPixels(game.session, game.viewX, game.viewY, ClientWidth, ClientHeight);
    FocusWindow(game.session, dialog);
    TapKey(game.session, "Return");
    Flush(game.session);
    ASSERT_NE(WaitForPixelChange(game.session, game.viewX, game.viewY, ClientWidth, ClientHeight, covered, 2000), -1);
    SleepMs(100);
    EXPECT_EQ(game.ReadView(), expected);
}

// Chosen by hand, or from the desktop's font DPI where the window fits the
// screen: the window, the menu bar and every pixel of the frame at twice
// their size, and a dialog twice its size at the view's corner.
TEST(MainWindow, AZoomGrowsTheWindowTheFrameAndTheDialogsByWholeNumbers) {
    const std::pair<const char*, Launch> cases[] = {
        {"no option", {{}, "", 1280, 1024, 1}},
        {"--zoom 2", {{"--zoom", "2"}, "", 1280, 1024, 2}},
        {"Xft.dpi 192", {{}, "Xft.dpi: 192\n", 1280, 1024, 2}},
        {"Xft.dpi 192 on a screen too small for zoom 2", {{}, "Xft.dpi: 192\n", 640, 480, 1}},
    };
    WindowBox windowAtOne{}, dialogAtOne{};
    for (const auto& [way, launch] : cases) {
        SCOPED_TRACE(way);
        RunningGame game;
        ASSERT_TRUE(game.Start(nullptr, launch));
        const std::vector<uint32_t> view = game.ReadView();
        EXPECT_EQ(PixelsOffTheZoomedFrame(view, ExpectedIdleFrame(), ClientWidth, ClientHeight, launch.zoom), 0);
        game.ChooseTopTen();
        const unsigned long dialog = FindWindowByClass(game.session, "QuadrafallTopTen", 2000);
        WindowBox dialogBox{};
        ASSERT_TRUE(dialog != 0 && GetWindowBox(game.session, dialog, dialogBox));
        if (windowAtOne.width == 0) {
            windowAtOne = game.box;
            dialogAtOne = dialogBox;
        }
        EXPECT_EQ(game.box.width, windowAtOne.width * launch.zoom);
        EXPECT_EQ(game.box.height, windowAtOne.height * launch.zoom) << "the menu bar and the view";
        EXPECT_EQ(dialogBox.width, dialogAtOne.width * launch.zoom);
        EXPECT_EQ(dialogBox.height, dialogAtOne.height * launch.zoom);
        EXPECT_EQ(dialogBox.x, game.viewX);
        EXPECT_EQ(dialogBox.y, game.viewY);
    }
}

}  // namespace
