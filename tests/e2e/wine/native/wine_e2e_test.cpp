// quadrafall.exe under Wine, driven like a player would: real keys and
// clicks through XTest, real pixels read back from the X server, the Top Ten
// file as it lands on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "game/game_state.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "shell/common/command_tables.h"
#include "shell/common/window_events.h"
#include "wine_session.h"
#include "zoomed_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The frame before the first game, composed natively by the software surface.
std::vector<uint32_t> SoftwareIdleFrame() {
    OnMainWindowCreated();  // no file in the test's directory: defaults
    std::vector<uint32_t> pixels(ClientWidth * ClientHeight, 0);
    Surface target = {pixels.data(), ClientWidth, ClientHeight};
    RenderFrame(&target);
    ShutdownGame();
    return pixels;
}

void AppendRecord(std::vector<uint8_t>& file, int32_t score, const std::string& name) {
    const uint32_t value = static_cast<uint32_t>(score);
    for (int shift = 0; shift < 32; shift += 8) {
        const uint8_t byte = static_cast<uint8_t>(value >> shift);
        // The file is a text stream: every 0x0A is stored as 0x0D 0x0A.
        if (byte == 0x0A) file.push_back(0x0D);
        file.push_back(byte);
    }
    for (size_t i = 0; i < 10; ++i) file.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

std::vector<uint8_t> DefaultScoreFile() {
    std::vector<uint8_t> file;
    for (int i = 0; i < 10; ++i) AppendRecord(file, 0, "Anonymous");
    return file;
}

// The topmost pixel row of the well that is not panel grey, or -1.
int TopOfPieces(WineSession& wine, const ClientArea& area) {
    const std::vector<uint32_t> well = wine.ReadClient(area, BoardPanelRect.left, BoardPanelRect.top, 160, 320);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 160; ++x) {
            if (well[static_cast<size_t>(y * 160 + x)] != PanelGrey) return y;
        }
    }
    return -1;
}

// Times (ms since start) at which the piece's top edge moved, and by how much.
struct Fall {
    std::vector<long> times;
    std::vector<int> steps;
};

Fall WatchFall(WineSession& wine, const ClientArea& area, int moves, int timeoutMs) {
    Fall fall;
    const Clock::time_point start = Clock::now();
    int top = TopOfPieces(wine, area);
    while (static_cast<int>(fall.times.size()) < moves && MillisecondsSince(start) < timeoutMs) {
        const int now = TopOfPieces(wine, area);
        if (now != top) {
            fall.times.push_back(MillisecondsSince(start));
            fall.steps.push_back(now - top);
            top = now;
        }
        PauseMs(2);
    }
    return fall;
}

// How often the well's picture changes within ms milliseconds.
int WellChanges(WineSession& wine, const ClientArea& area, int ms) {
    const int width = BoardPanelRect.right - BoardPanelRect.left, height = BoardPanelRect.bottom - BoardPanelRect.top;
    std::vector<uint32_t> last = wine.ReadClient(area, BoardPanelRect.left, BoardPanelRect.top, width, height);
    int changes = 0;
    const Clock::time_point start = Clock::now();
    while (MillisecondsSince(start) < ms) {
        PauseMs(5);
        std::vector<uint32_t> now = wine.ReadClient(area, BoardPanelRect.left, BoardPanelRect.top, width, height);
        if (now == last) continue;
        ++changes;
        last = std::move(now);
    }
    return changes;
}

// Ways the keyboard leaves the game and comes back.
struct Departure {
    const char* way;
    void (*leave)(WineSession& wine);
    void (*comeBack)(WineSession& wine, const ClientArea& area);
};

// Another program takes the keyboard; the window is deactivated.
void FocusNowhere(WineSession& wine) { FocusWindow(wine.x(), 0); }
// Wine activates a window again on a click into it, not on the X focus.
void ClickIntoTheWell(WineSession& wine, const ClientArea& area) {
    ClickAt(wine.x(), area.x + (BoardPanelRect.left + BoardPanelRect.right) / 2, area.y + BoardPanelRect.bottom - 8);
}
// What the system tells the window when its menu opens. Under Wine the menu
// also takes the focus, which Windows leaves with the window, so this is the
// one way to see the window's own answer to the menu.
void StartAMenuLoop(WineSession& wine) { wine.Probe({"enter-menu-loop"}); }
void StayHere(WineSession&, const ClientArea&) {}

std::string TextOf(const std::vector<std::pair<int, std::string>>& texts, int id) {
    for (const auto& [controlId, text] : texts) {
        if (controlId == id) return text;
    }
    return "<missing>";
}

// The Level submenu's row that shows a check mark: in each 16-pixel row, the
// pixels of the check mark column that differ from the row's background.
int CheckedLevelRow(WineSession& wine, const std::vector<unsigned long>& before) {
    unsigned long submenu = 0;
    WindowBox box{};
    for (unsigned long window : ListTopLevelWindows(wine.x())) {
        bool isNew = true;
        for (unsigned long old : before) isNew = isNew && old != window;
        WindowBox candidate{};
        if (!isNew || !GetWindowBox(wine.x(), window, candidate)) continue;
        if (submenu == 0 || candidate.x > box.x) {
            submenu = window;
            box = candidate;
        }
    }
    if (submenu == 0) return -2;
    const int border = 3;
    const int rowHeight = (box.height - 2 * border) / 10;
    const std::vector<uint32_t> pixels = ReadPixels(wine.x(), box.x, box.y, box.width, box.height);
    int checked = -1;
    for (int row = 0; row < 10; ++row) {
        const int top = border + row * rowHeight;
        const uint32_t background = pixels[static_cast<size_t>((top + 1) * box.width + box.width - border - 2)];
        int marked = 0;
        for (int y = top; y < top + rowHeight; ++y) {
            for (int x = border; x < border + 12; ++x) marked += pixels[static_cast<size_t>(y * box.width + x)] != background;
        }
        if (marked > 5) {
            if (checked != -1) return -3;  // more than one row
            checked = row;
        }
    }
    return checked;
}

int OpenLevelMenuAndFindCheck(WineSession& wine) {
    const std::vector<unsigned long> before = ListTopLevelWindows(wine.x());
    wine.Keys({"F10", "Down", "Down", "Right"});
    PauseMs(300);
    const int row = CheckedLevelRow(wine, before);
    wine.Keys({"Escape", "Escape", "Escape"});
    return row;
}

unsigned long WaitForNewWindow(WineSession& wine, unsigned long except, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    while (MillisecondsSince(start) < timeoutMs) {
        for (unsigned long window : ListTopLevelWindows(wine.x())) {
            WindowBox box{};
            if (window != except && GetWindowBox(wine.x(), window, box) && box.width > 50 && box.height > 50) {
                return window;
            }
        }
        PauseMs(20);
    }
    return 0;
}

// Return on the start-up failure's box, which ends the program. A key
// pressed while the box is still taking the focus is lost, so it is pressed
// again while the program runs on.
bool ReturnOnTheBoxEndsTheProgram(WineSession& wine, unsigned long box) {
    for (int tries = 0; tries < 3; ++tries) {
        PauseMs(400);
        FocusWindow(wine.x(), box);
        wine.Keys({"Return"});
        if (wine.WaitForEnd(5000)) return true;
    }
    return false;
}

bool WindowGone(WineSession& wine, unsigned long window, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    while (MillisecondsSince(start) < timeoutMs) {
        bool present = false;
        for (unsigned long shown : ListTopLevelWindows(wine.x())) present = present || shown == window;
        if (!present) return true;
        PauseMs(20);
    }
    return false;
}

class WineProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!wine.ready()) GTEST_SKIP() << "needs QUADRAFALL_EXE, QUADRAFALL_PROBE and Xvfb";
    }

    void StartAndWait() {
        ASSERT_TRUE(wine.Start());
        ASSERT_TRUE(wine.WaitForMainWindow()) << "no main window";
        ASSERT_TRUE(wine.QueryClientArea(area)) << "no client area";
    }

    // At level 9 with nothing done, the well fills up at once; with a Top
    // Ten that a score of 0 enters, the name entry opens. Its window, or 0.
    unsigned long PlayIntoTheNameEntry() {
        wine.ChooseLevel(9);
        wine.ChooseNew();
        const unsigned long dialog = WaitForNewWindow(wine, wine.mainWindow(), 60000);
        PauseMs(300);
        return dialog;
    }

    void ExitAndExpectCodeZero() {
        wine.ChooseExit();
        ASSERT_TRUE(wine.WaitForEnd(15000));
        EXPECT_NE(wine.Report().find("exit code: 0x00000000"), std::string::npos) << wine.Report();
    }

    WineSession wine;
    ClientArea area;
};

}  // namespace

TEST_F(WineProgram, ClientAreaIs291By384) {
    StartAndWait();
    EXPECT_EQ(area.width, 291);
    EXPECT_EQ(area.height, 384);
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, IdleFrameOnScreenIsTheSoftwareRenderersIdleFrame) {
    StartAndWait();
    const std::vector<uint32_t> expected = SoftwareIdleFrame();
    const std::vector<uint32_t> shown = wine.ReadClient(area, 0, 0, ClientWidth, ClientHeight);
    int differing = 0;
    for (size_t i = 0; i < expected.size(); ++i) differing += shown[i] != expected[i];
    if (differing != 0) {
        SavePng(wine.directory() + "/../quadrafall-wine-idle-shown.png", shown, ClientWidth, ClientHeight);
    }
    EXPECT_EQ(differing, 0);
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, NewPieceFallsOneRowPerSecondAtLevelZero) {
    StartAndWait();
    wine.ChooseNew();
    ASSERT_NE(TopOfPieces(wine, area), -1) << "no piece dealt";
    const Fall fall = WatchFall(wine, area, 3, 5000);
    ASSERT_EQ(fall.times.size(), 3u);
    for (int step : fall.steps) EXPECT_EQ(step, CellSize);
    EXPECT_NEAR(fall.times[1] - fall.times[0], 1000, 150);
    EXPECT_NEAR(fall.times[2] - fall.times[1], 1000, 150);
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, HeldDownDropsOneRowPer50Milliseconds) {
    StartAndWait();
    wine.ChooseNew();
    FocusWindow(wine.x(), wine.mainWindow());
    PauseMs(200);
    PressKey(wine.x(), "Down");
    Flush(wine.x());
    const Fall fall = WatchFall(wine, area, 9, 2000);
    ReleaseKey(wine.x(), "Down");
    Flush(wine.x());
    ASSERT_EQ(fall.times.size(), 9u);
    // On a busy machine a read of the screen can miss a frame and see two
    // rows at once; most steps must still be single rows, and the rate is
    // taken per row.
    int singleRows = 0, rows = 0;
    for (size_t i = 0; i < fall.steps.size(); ++i) {
        EXPECT_EQ(fall.steps[i] % CellSize, 0) << "step " << i << " is not whole rows";
        singleRows += fall.steps[i] == CellSize ? 1 : 0;
        if (i > 0) rows += fall.steps[i] / CellSize;
    }
    EXPECT_GE(singleRows, 7);
    ASSERT_GT(rows, 0);
    const double perRow = static_cast<double>(fall.times[8] - fall.times[0]) / rows;
    EXPECT_NEAR(perRow, 50, 12);
    ExitAndExpectCodeZero();
}

// The key's release goes elsewhere while the keyboard is away, so the game
// forgets every held key as it leaves: nothing moves by itself while the
// key is still held away from the game, nor once it is released and back.
TEST_F(WineProgram, KeysHeldWhenTheKeyboardLeavesTheGameAreForgotten) {
    StartAndWait();
    TurnOffKeyRepeat(wine.x());
    const Departure departures[] = {
        {"the window loses the keyboard", FocusNowhere, ClickIntoTheWell},
        {"a menu loop starts", StartAMenuLoop, StayHere},
    };
    for (const Departure& departure : departures) {
        SCOPED_TRACE(departure.way);
        wine.ChooseNew();
        FocusWindow(wine.x(), wine.mainWindow());
        PauseMs(200);
        PressKey(wine.x(), "Down");
        Flush(wine.x());
        // Held, Down drops the piece a row every 50 ms.
        ASSERT_GE(WellChanges(wine, area, 300), 3);
        departure.leave(wine);
        // Gravity alone moves the piece one row a second at level 0.
        EXPECT_LE(WellChanges(wine, area, 600), 1) << "while away";
        ReleaseKey(wine.x(), "Down");
        Flush(wine.x());
        departure.comeBack(wine, area);
        PauseMs(300);
        EXPECT_LE(WellChanges(wine, area, 700), 1) << "once back";
    }
    ExitAndExpectCodeZero();
}

// A key released while Alt is held comes as a system key-up; the game must
// see it all the same, and the system its keys: Alt alone opens the menu as
// F10 does, and Alt+F4 closes the window.
TEST_F(WineProgram, AKeyReleasedUnderAltEndsItsHoldAndAltStillServesTheSystem) {
    StartAndWait();
    TurnOffKeyRepeat(wine.x());
    wine.Keys({"Alt_L", "Down", "Return"});
    ASSERT_NE(TopOfPieces(wine, area), -1) << "Alt opened no menu: no game started";
    FocusWindow(wine.x(), wine.mainWindow());
    PauseMs(200);
    PressKey(wine.x(), "Down");
    Flush(wine.x());
    ASSERT_GE(WellChanges(wine, area, 300), 3);
    PressKey(wine.x(), "Alt_L");
    PauseMs(100);
    ReleaseKey(wine.x(), "Down");
    PauseMs(100);
    ReleaseKey(wine.x(), "Alt_L");
    wine.Keys({"Escape"});  // should the menu have taken Alt
    // Gravity alone moves the piece one row a second at level 0.
    EXPECT_LE(WellChanges(wine, area, 900), 1);
    PressKey(wine.x(), "Alt_L");
    wine.Keys({"F4"});
    EXPECT_TRUE(wine.WaitForEnd(15000)) << "still running after Alt+F4";
}

bool TitleBecomes(WineSession& wine, const std::string& title) {
    for (int waited = 0; WindowTitleOf(wine.x(), wine.mainWindow()) != title; waited += 10) {
        if (waited > 3000) return false;
        PauseMs(10);
    }
    return true;
}

// P pauses: the well stands still whatever is pressed, the title says so,
// and only P goes on.
TEST_F(WineProgram, APausedGameStandsStillWhateverIsPressedUntilPGoesOn) {
    StartAndWait();
    wine.ChooseNew();
    FocusWindow(wine.x(), wine.mainWindow());
    wine.Keys({"p"});
    ASSERT_TRUE(TitleBecomes(wine, "Quadrafall - Paused"));
    const int width = BoardPanelRect.right - BoardPanelRect.left, height = BoardPanelRect.bottom - BoardPanelRect.top;
    const std::vector<uint32_t> well = wine.ReadClient(area, BoardPanelRect.left, BoardPanelRect.top, width, height);
    for (const char* arrow : {"Left", "Right", "Up", "Down", "Left", "Right", "Up", "Down"}) {
        TapKey(wine.x(), arrow);
        PauseMs(250);
    }
    EXPECT_EQ(wine.ReadClient(area, BoardPanelRect.left, BoardPanelRect.top, width, height), well);
    wine.Keys({"p"});
    ASSERT_TRUE(TitleBecomes(wine, "Quadrafall"));
    EXPECT_GE(WellChanges(wine, area, 1500), 1) << "gravity did not go on";
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, LevelCheckMarkMovesToTheChosenLevel) {
    StartAndWait();
    EXPECT_EQ(OpenLevelMenuAndFindCheck(wine), 0);
    wine.ChooseLevel(6);
    EXPECT_EQ(OpenLevelMenuAndFindCheck(wine), 6);
    FocusWindow(wine.x(), wine.mainWindow());
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, TopTenWithoutAFileShowsAnonymousAndZeroTenTimes) {
    StartAndWait();
    wine.ChooseTopTen();
    const auto texts = wine.DialogTexts("TopTen");
    for (int place = 0; place < 10; ++place) {
        EXPECT_EQ(TextOf(texts, TopTenNameIds[place]), "Anonymous") << "place " << place + 1;
        EXPECT_EQ(TextOf(texts, TopTenScoreIds[place]), "0") << "place " << place + 1;
    }
    EXPECT_TRUE(wine.ReadScoreFile().empty()) << "showing the defaults writes nothing";
    wine.Keys({"Return"});
    FocusWindow(wine.x(), wine.mainWindow());
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, ResetScoresWritesTheDefaultFileAndCloses) {
    std::vector<uint8_t> seeded;
    AppendRecord(seeded, 500, "Zed");
    for (int i = 1; i < 10; ++i) AppendRecord(seeded, 10, "Ann");
    wine.WriteScoreFile(seeded);
    StartAndWait();
    wine.ChooseTopTen();
    const auto texts = wine.DialogTexts("TopTen");
    EXPECT_EQ(TextOf(texts, TopTenNameIds[0]), "Zed");
    EXPECT_EQ(TextOf(texts, TopTenScoreIds[0]), "500");
    EXPECT_EQ(TextOf(texts, TopTenScoreIds[1]), "10");
    const unsigned long dialog = FindWindowByTitle(wine.x(), "TopTen", 5000);
    ASSERT_NE(dialog, 0u);
    wine.Keys({"Tab", "space"});  // from OK to "Reset Scores"
    EXPECT_TRUE(WindowGone(wine, dialog, 5000));
    const std::vector<uint8_t> file = wine.ReadScoreFile();
    EXPECT_EQ(file.size(), 140u);
    EXPECT_EQ(file, DefaultScoreFile());
    FocusWindow(wine.x(), wine.mainWindow());
    ExitAndExpectCodeZero();
}

// Nine places hold 10 points (stored as 0D 0A ...), the tenth -1, so a game
// that ends with 0 points enters at place ten. Left to gravity at level 9,
// the pieces pile up where they are dealt and never fill a row, so the game
// ends within seconds with 0 points. No key is held: a held arrow would move
// the focus in the dialog once it opens.
TEST_F(WineProgram, GameEndingInTheTopTenStoresTheFirstNineCharactersOfTheName) {
    std::vector<uint8_t> seeded;
    const char* names[9] = {"Ann", "Bob", "Cy", "Di", "Ed", "Flo", "Gus", "Hal", "Ida"};
    for (const char* name : names) AppendRecord(seeded, 10, name);
    AppendRecord(seeded, -1, "Last");
    ASSERT_EQ(seeded.size(), 149u);
    wine.WriteScoreFile(seeded);
    StartAndWait();
    const unsigned long dialog = PlayIntoTheNameEntry();
    ASSERT_NE(dialog, 0u) << "no name entry";
    EXPECT_EQ(wine.FocusedControl(""), 1) << "the focus starts on OK";
    const auto texts = wine.DialogTexts("");
    EXPECT_EQ(TextOf(texts, 1003), "0");
    FocusWindow(wine.x(), dialog);
    wine.Keys({"Escape"});
    PauseMs(500);
    EXPECT_FALSE(WindowGone(wine, dialog, 100)) << "Escape closed the name entry";
    wine.Keys({"Tab"});
    TypeText(wine.x(), "Abcdefghijkl");
    PauseMs(200);
    wine.Keys({"Return"});
    EXPECT_TRUE(WindowGone(wine, dialog, 5000));

    std::vector<uint8_t> expected(seeded.begin(), seeded.begin() + 9 * 15);
    AppendRecord(expected, 0, "Abcdefghi");
    EXPECT_EQ(wine.ReadScoreFile(), expected);
    FocusWindow(wine.x(), wine.mainWindow());
    ExitAndExpectCodeZero();
}

// A save that fails keeps the old file, and the player is told in a message
// box; the game goes on. Wine run as root writes even read-only files, and a
// save that cannot make its temporary file writes in place, so the failure
// here is a table nothing may write or replace: an immutable one.
TEST_F(WineProgram, ASaveThatFailsIsToldInAMessageBox) {
    // Below zero, so that the game's 0 points enter.
    std::vector<uint8_t> seeded;
    for (int i = 0; i < 10; ++i) AppendRecord(seeded, -1, "Low");
    wine.WriteScoreFile(seeded);
    ASSERT_EQ(std::system(("chattr +i '" + wine.directory() + "/highscores.dat'").c_str()), 0);
    StartAndWait();
    const unsigned long dialog = PlayIntoTheNameEntry();
    ASSERT_NE(dialog, 0u) << "no name entry";
    FocusWindow(wine.x(), dialog);
    wine.Keys({"Return"});

    const auto texts = wine.DialogTexts("Quadrafall");
    std::string sentence;
    for (const auto& text : texts) {
        if (text.second.rfind("The Top Ten could not be saved to highscores.dat: ", 0) == 0) sentence = text.second;
    }
    EXPECT_FALSE(sentence.empty()) << "no message box told of the failed save";
    EXPECT_EQ(sentence.back(), '.') << sentence;
    EXPECT_GT(sentence.size(), std::string("The Top Ten could not be saved to highscores.dat: .").size()) << sentence;
    wine.Keys({"Return"});
    PauseMs(500);
    EXPECT_EQ(wine.ReadScoreFile(), seeded);
    FocusWindow(wine.x(), wine.mainWindow());
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, ExitFromTheMenuEndsWithCodeZero) {
    StartAndWait();
    ExitAndExpectCodeZero();
}

TEST_F(WineProgram, CloseBoxEndsWithCodeZero) {
    StartAndWait();
    WindowBox box{};
    ASSERT_TRUE(GetWindowBox(wine.x(), wine.mainWindow(), box));
    // The close box sits at the right end of the caption bar, above the client area.
    const int captionMiddle = box.y + (area.y - box.y - 19) / 2 + 1;
    ClickAt(wine.x(), box.x + box.width - 13, captionMiddle);
    ASSERT_TRUE(wine.WaitForEnd(15000)) << "still running after the close box";
    EXPECT_NE(wine.Report().find("exit code: 0x00000000"), std::string::npos) << wine.Report();
}

TEST_F(WineProgram, FailedRegistrationShowsItsBoxAndEndsWithEFail) {
    ASSERT_TRUE(wine.Start("trap-registration"));
    // Wine does not take back global atoms once its table has been full, so
    // the server is started afresh for the tests that follow.
    struct FreshServerAfterwards {
        WineSession& wine;
        ~FreshServerAfterwards() { wine.RestartWineServer(); }
    } freshServer{wine};
    const unsigned long box = FindWindowByTitle(wine.x(), "Error!", 30000);
    ASSERT_NE(box, 0u);
    EXPECT_EQ(FindWindowByTitle(wine.x(), "Quadrafall", 200), 0u) << "no window is shown";
    ASSERT_TRUE(ReturnOnTheBoxEndsTheProgram(wine, box));
    const std::string report = wine.Report();
    EXPECT_NE(report.find("box text: Window Registration Failed!\n"), std::string::npos) << report;
    EXPECT_NE(report.find("box topmost: 1\n"), std::string::npos) << report;
    EXPECT_NE(report.find("box ok button: OK\nbox buttons: 1\nbox icon: 1\n"), std::string::npos) << report;
    EXPECT_NE(report.find("exit code: 0x80004005"), std::string::npos) << report;
}

TEST_F(WineProgram, FailedWindowCreationShowsItsBoxAndEndsWithEFail) {
    ASSERT_TRUE(wine.Start("trap-creation"));
    const unsigned long box = FindWindowByTitle(wine.x(), "Error!", 30000);
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(ReturnOnTheBoxEndsTheProgram(wine, box));
    const std::string report = wine.Report();
    EXPECT_NE(report.find("box text: Window Creation Failed!\n"), std::string::npos) << report;
    EXPECT_NE(report.find("box topmost: 1\n"), std::string::npos) << report;
    EXPECT_NE(report.find("box ok button: OK\nbox buttons: 1\nbox icon: 1\n"), std::string::npos) << report;
    EXPECT_NE(report.find("exit code: 0x80004005"), std::string::npos) << report;
}

// Wine shows the program its prefix's DPI, 192 here, from the start (and
// sends no WM_DPICHANGED), on a screen of 1280 x 1024 as its prefix's: the
// frame is shown at zoom 2, every pixel a 2 x 2 square.
TEST(WineProgramAt192Dpi, FrameIsShownAtZoomTwo) {
    WineSession wine(1280, 1024);
    if (!wine.ready()) GTEST_SKIP() << "needs QUADRAFALL_EXE, QUADRAFALL_PROBE and Xvfb";
    ASSERT_TRUE(wine.Start());
    ASSERT_TRUE(wine.WaitForMainWindow()) << "no main window";
    ClientArea area;
    ASSERT_TRUE(wine.QueryClientArea(area));
    EXPECT_EQ(area.width, 2 * ClientWidth);
    EXPECT_EQ(area.height, 2 * ClientHeight);
    const std::vector<uint32_t> shown = wine.ReadClient(area, 0, 0, 2 * ClientWidth, 2 * ClientHeight);
    EXPECT_EQ(PixelsOffTheZoomedFrame(shown, SoftwareIdleFrame(), ClientWidth, ClientHeight, 2), 0);
}
