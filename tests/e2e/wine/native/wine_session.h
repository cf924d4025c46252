#pragma once
// One run of quadrafall.exe under Wine, in an Xvfb of the test's own and a
// fresh working directory, started through wine_probe so that its full exit
// code and any start-up error box are reported.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "x11_session.h"

struct ClientArea {
    int x = 0, y = 0, width = 0, height = 0;  // root coordinates
};

class WineSession {
public:
    // An Xvfb screen of width x height.
    explicit WineSession(int screenWidth = 1024, int screenHeight = 768);
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    bool ready() const { return ready_; }
    XSession& x() { return session_; }
    const std::string& directory() const { return directory_; }

    // Writes bytes as the working directory's "highscores.dat".
    void WriteScoreFile(const std::vector<uint8_t>& bytes);
    // The working directory's "highscores.dat"; empty when there is none.
    std::vector<uint8_t> ReadScoreFile() const;

    // mode: "run", "trap-registration" or "trap-creation" (see wine_probe).
    bool Start(const std::string& mode = "run");
    // Waits for the main window and gives it the X focus.
    bool WaitForMainWindow();
    unsigned long mainWindow() const { return mainWindow_; }
    // The client area as the platform reports it.
    bool QueryClientArea(ClientArea& area);

    // A wine_probe query's standard output.
    std::string Probe(const std::vector<std::string>& arguments);
    // Texts of a dialog's controls by id.
    std::vector<std::pair<int, std::string>> DialogTexts(const std::string& title);
    int FocusedControl(const std::string& title);

    // Keys with a short pause after each, so Wine's menus keep up.
    void Keys(const std::vector<std::string>& keysymNames);
    void ChooseNew() { Keys({"F10", "Down", "Return"}); }
    void ChooseTopTen() { Keys({"F10", "Down", "Down", "Down", "Return"}); }
    void ChooseExit() { Keys({"F10", "Down", "Up", "Return"}); }
    void ChooseLevel(int level);

    // Ends the prefix's wineserver and starts a persistent one afresh, with
    // all the state the server keeps (the global atom table) new.
    void RestartWineServer();
    // Waits for the probe (and so the program) to end; its report then.
    bool WaitForEnd(int timeoutMs);
    std::string Report() const;

    // Pixels of a rectangle of the client area.
    std::vector<uint32_t> ReadClient(const ClientArea& area, int x, int y, int width, int height);

private:
    std::vector<std::string> WineEnvironment() const;
    XSession session_;
    bool ready_ = false;
    std::string directory_;
    pid_t probe_ = -1;
    unsigned long mainWindow_ = 0;
};

// The path of a Linux file as Wine's Z: drive shows it.
std::string WindowsPath(const std::string& path);
// Sleeps for ms milliseconds.
void PauseMs(int ms);
