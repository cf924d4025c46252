#include "running_game.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "shell/common/window_events.h"
#include "zoomed_frame.h"

namespace {

const char* const ScoreFileName = "highscores.dat";

}  // namespace

std::vector<uint32_t> ExpectedIdleFrame() {
    OnMainWindowCreated();
    std::vector<uint32_t> pixels(static_cast<size_t>(ClientWidth) * ClientHeight);
    Surface target{pixels.data(), ClientWidth, ClientHeight};
    RenderFrame(&target);
    ShutdownGame();
    return pixels;
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<uint8_t> StoredScoreFile(const std::vector<std::pair<int32_t, std::string>>& entries) {
    std::vector<uint8_t> logical;
    for (const auto& [score, name] : entries) {
        const uint32_t bits = static_cast<uint32_t>(score);
        for (int shift = 0; shift < 32; shift += 8) logical.push_back(static_cast<uint8_t>(bits >> shift));
        for (size_t i = 0; i < 10; ++i) logical.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
    }
    std::vector<uint8_t> stored;
    for (const uint8_t byte : logical) {
        if (byte == 0x0A) stored.push_back(0x0D);
        stored.push_back(byte);
    }
    return stored;
}

bool RunningGame::Start(const std::vector<uint8_t>* fileBytes, const Launch& launch) {
    char pattern[] = "/tmp/quadrafall-e2e-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    workDir = pattern;
    if (fileBytes != nullptr) {
        std::ofstream file(workDir + "/" + ScoreFileName, std::ios::binary);
        file.write(reinterpret_cast<const char*>(fileBytes->data()), static_cast<std::streamsize>(fileBytes->size()));
    }
    if (!StartXSession(session, launch.screenWidth, launch.screenHeight)) return false;
    if (!launch.resources.empty()) SetResources(session, launch.resources);
    if (launch.windowManager && !StartWindowManager(session)) return false;
    std::vector<std::string> argv = {QUADRAFALL_PROGRAM};
    argv.insert(argv.end(), launch.arguments.begin(), launch.arguments.end());
    pid = LaunchProgram(session, argv, workDir);
    if (pid < 0) return false;
    window = FindWindowByClass(session, "Quadrafall", 10000);
    if (window == 0 || !GetWindowBox(session, window, box)) return false;
    zoom = launch.zoom;
    // Reading outside the screen would end the test process: the view
    // expected must lie in the window and on the screen.
    if (box.width < ClientWidth * zoom || box.height < ClientHeight * zoom || box.x < 0 ||
        box.x + ClientWidth * zoom > launch.screenWidth || box.y + box.height > launch.screenHeight) {
        return false;
    }
    viewX = box.x;
    viewY = box.y + box.height - ClientHeight * zoom;
    FocusWindow(session, window);
    // Every start shows the idle frame first; a test that checks it fails
    // on its own comparison when it never comes.
    static const std::vector<uint32_t> idle = ExpectedIdleFrame();
    const double start = NowMs();
    while (NowMs() - start < 3000 && PixelsOffTheZoomedFrame(ReadView(), idle, ClientWidth, ClientHeight, zoom) != 0) {
        SleepMs(5);
    }
    return true;
}

void RunningGame::Stop() {
    if (pid > 0) KillProgram(pid);
    pid = -1;
    StopXSession(session);
    if (!workDir.empty()) {
        std::error_code ignored;
        // A test may have made a file in it immutable.
        std::system(("chattr -R -i '" + workDir + "' 2>/dev/null").c_str());
        std::filesystem::remove_all(workDir, ignored);
        workDir.clear();
    }
}

std::vector<uint32_t> RunningGame::ReadView() {
    return ReadPixels(session, viewX, viewY, ClientWidth * zoom, ClientHeight * zoom);
}

PieceBox RunningGame::FallingPieceBox() {
    // Whatever differs from the empty well of the idle frame.
    static const std::vector<uint32_t> idle = ExpectedIdleFrame();
    const Rect& well = BoardPanelRect;
    const int width = well.right - well.left, height = well.bottom - well.top;
    const std::vector<uint32_t> pixels = ReadPixels(session, viewX + well.left, viewY + well.top, width, height);
    PieceBox found;
    if (pixels.empty()) return found;
    for (int y = 0; y < height; ++y) {
        const int vy = y + well.top;
        for (int x = 0; x < width; ++x) {
            const int vx = x + well.left;
            if (pixels[static_cast<size_t>(y) * width + x] == idle[static_cast<size_t>(vy) * ClientWidth + vx]) continue;
            if (!found.found) found = {true, vx, vy, vx + 1, vy + 1};
            found.left = std::min(found.left, vx);
            found.top = std::min(found.top, vy);
            found.right = std::max(found.right, vx + 1);
            found.bottom = std::max(found.bottom, vy + 1);
        }
    }
    return found;
}

void RunningGame::ChooseGameItem(int downPresses) {
    FocusWindow(session, window);
    TapKey(session, "F10");
    SleepMs(150);
    for (int i = 0; i < downPresses; ++i) {
        TapKey(session, "Down");
        SleepMs(30);
    }
    TapKey(session, "Return");
    Flush(session);
    SleepMs(150);
}

void RunningGame::ChooseLevel(int level) {
    FocusWindow(session, window);
    TapKey(session, "F10");
    SleepMs(150);
    TapKey(session, "Down");
    TapKey(session, "Down");
    SleepMs(30);
    TapKey(session, "Right");
    SleepMs(150);
    for (int i = 0; i < level; ++i) {
        TapKey(session, "Down");
        SleepMs(30);
    }
    TapKey(session, "Return");
    Flush(session);
    SleepMs(150);
}

unsigned long RunningGame::WaitForOtherWindow(int timeoutMs) {
    const double start = NowMs();
    do {
        const std::vector<unsigned long> windows = ListTopLevelWindows(session);
        if (!windows.empty() && windows.back() != window) return windows.back();
        SleepMs(10);
    } while (NowMs() - start < timeoutMs);
    return 0;
}

bool RunningGame::ScoreFileExists() const { return std::filesystem::exists(workDir + "/" + ScoreFileName); }

std::vector<uint8_t> RunningGame::ScoreFileBytes() const {
    std::ifstream file(workDir + "/" + ScoreFileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void RunningGame::SaveViewPng(const std::string& name) {
    SavePng(name, ReadView(), ClientWidth, ClientHeight);
}

void RunningGame::SaveScreenPng(const std::string& name) {
    SavePng(name, ReadPixels(session, 0, 0, 640, 480), 640, 480);
}
