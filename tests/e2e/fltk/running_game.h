#pragma once
// The real program running in an Xvfb of its own, in a scratch working
// directory, with its window found, focused and measured.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "x11_session.h"

struct PieceBox {
    bool found = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // view pixels, right and bottom exclusive
};

// How the program is started, and the zoom its view is expected at.
struct Launch {
    std::vector<std::string> arguments;
    std::string resources;  // the screen's X resources, as xrdb sets them
    int screenWidth = 640, screenHeight = 480;
    int zoom = 1;
    bool windowManager = false;  // openbox frames and minimises the window
};

class RunningGame {
public:
    ~RunningGame() { Stop(); }

    // Starts Xvfb and the program; fileBytes, when given, become
    // highscores.dat in the working directory first.
    bool Start(const std::vector<uint8_t>* fileBytes = nullptr, const Launch& launch = {});
    // Ends the program (if still running) and the X server; removes the
    // working directory.
    void Stop();

    // The view's pixels: (291 x zoom) x (384 x zoom).
    std::vector<uint32_t> ReadView();
    // The bounding box of everything that is not background in the well.
    PieceBox FallingPieceBox();
    // Opens the menu bar with F10, goes down the "Game" drop-down and
    // chooses the item there, as a keyboard player would.
    void ChooseGameItem(int downPresses);
    void ChooseNew() { ChooseGameItem(1); }
    void ChooseTopTen() { ChooseGameItem(3); }
    void ChooseExit() { ChooseGameItem(4); }
    void ChooseLevel(int level);
    // The topmost top-level window other than the main one; 0 when none.
    unsigned long WaitForOtherWindow(int timeoutMs);
    bool ScoreFileExists() const;
    std::vector<uint8_t> ScoreFileBytes() const;
    void SaveViewPng(const std::string& name);
    void SaveScreenPng(const std::string& name);

    XSession session;
    std::string workDir;
    pid_t pid = -1;
    unsigned long window = 0;
    WindowBox box{};
    int viewX = 0, viewY = 0;  // the game view's top-left corner on the screen
    int zoom = 1;
};

// The Top Ten file for ten entries, stored as the program writes it: each
// record a 4-byte little-endian score and a 10-byte name, every 0x0A byte
// stored as 0x0D 0x0A.
std::vector<uint8_t> StoredScoreFile(const std::vector<std::pair<int32_t, std::string>>& entries);

// The idle frame as the software renderer composes it: the statistics
// samples built, nothing dealt, every count 0.
std::vector<uint32_t> ExpectedIdleFrame();

// Milliseconds since some fixed moment.
double NowMs();
void SleepMs(int ms);
