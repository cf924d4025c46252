// Measures the native program as a player's machine would run it, under
// an Xvfb of its own: start-up to the first frame, idle memory, CPU idle
// and at level 9, and key-to-pixels latency. Run by scripts/fltk_benchmark.sh.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/layout.h"
#include "running_game.h"

namespace {

double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoul(field);
        if (i == 15) stime = std::stoul(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double RssMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return -1;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

// From exec to the whole idle frame on the screen.
double StartupMs(XSession& session, const std::vector<uint32_t>& idle) {
    char pattern[] = "/tmp/quadrafall-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return -1;
    const double start = NowMs();
    const pid_t pid = LaunchProgram(session, {QUADRAFALL_PROGRAM}, pattern);
    double shown = -1;
    unsigned long window = 0;
    while (NowMs() - start < 5000 && shown < 0) {
        if (window == 0) window = FindWindowByClass(session, "Quadrafall", 0);
        WindowBox box{};
        if (window != 0 && GetWindowBox(session, window, box) &&
            ReadPixels(session, box.x, box.y + box.height - ClientHeight, ClientWidth, ClientHeight) == idle) {
            shown = NowMs() - start;
        }
    }
    KillProgram(pid);
    rmdir(pattern);
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::vector<uint32_t> idle = ExpectedIdleFrame();
    std::vector<double> startups, rss, idleCpu, level9Cpu, keyLatencies;
    for (int run = 0; run < runs; ++run) {
        {
            XSession session;
            if (!StartXSession(session, 640, 480)) return 1;
            startups.push_back(StartupMs(session, idle));
            StopXSession(session);
        }
        RunningGame game;
        if (!game.Start()) return 1;
        SleepMs(1000);
        rss.push_back(RssMiB(game.pid));
        double before = CpuSeconds(game.pid);
        SleepMs(10000);
        idleCpu.push_back(CpuSeconds(game.pid) - before);

        game.ChooseNew();
        const Rect& well = BoardPanelRect;
        for (int press = 0; press < 20; ++press) {
            const PieceBox piece = game.FallingPieceBox();
            const int top = std::max(well.top, piece.top - 4);
            const int height = std::min(48, well.bottom - top);
            const std::vector<uint32_t> still =
                ReadPixels(game.session, game.viewX + well.left, game.viewY + top, well.right - well.left, height);
            const char* key = press % 2 == 0 ? "Left" : "Right";
            PressKey(game.session, key);
            const long micros = WaitForPixelChangeMicros(game.session, game.viewX + well.left, game.viewY + top,
                                                         well.right - well.left, height, still, 500);
            ReleaseKey(game.session, key);
            Flush(game.session);
            if (press % 2 == 0 && micros >= 0) keyLatencies.push_back(static_cast<double>(micros) / 1000.0);
            SleepMs(250);
        }

        game.ChooseLevel(9);
        game.ChooseNew();
        before = CpuSeconds(game.pid);
        SleepMs(10000);
        level9Cpu.push_back(CpuSeconds(game.pid) - before);
        game.Stop();
        std::fprintf(stderr, "run %d: start-up %.1f ms, RSS %.1f MiB, idle CPU %.2f s, level 9 CPU %.2f s\n", run + 1,
                     startups.back(), rss.back(), idleCpu.back(), level9Cpu.back());
    }
    std::printf("runs: %d\n", runs);
    std::printf("start-up to first frame (median): %.1f ms\n", Percentile(startups, 0.5));
    std::printf("resident memory idle (median): %.1f MiB\n", Percentile(rss, 0.5));
    std::printf("CPU over 10 s idle (median): %.2f s\n", Percentile(idleCpu, 0.5));
    std::printf("CPU over 10 s at level 9 (median): %.2f s\n", Percentile(level9Cpu, 0.5));
    std::printf("Left key to pixels: median %.2f ms, p95 %.2f ms (%zu presses)\n", Percentile(keyLatencies, 0.5),
                Percentile(keyLatencies, 0.95), keyLatencies.size());
    return 0;
}
