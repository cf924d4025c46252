#include "wine_session.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

void PauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

WineSession::WineSession(int screenWidth, int screenHeight) {
    char pattern[] = "/tmp/quadrafall-wine-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    directory_ = pattern;
    ready_ = !Environment("QUADRAFALL_EXE").empty() && !Environment("QUADRAFALL_PROBE").empty() &&
             StartXSession(session_, screenWidth, screenHeight);
}

WineSession::~WineSession() {
    if (probe_ > 0) KillProgram(probe_);
    // The program's X connection goes with the server, and Wine ends it then.
    if (ready_) StopXSession(session_);
    // A test may have made a file in it immutable.
    if (!directory_.empty())
        std::system(("chattr -R -i " + ShellQuote(directory_) + " 2>/dev/null; rm -rf " + ShellQuote(directory_)).c_str());
}

std::vector<std::string> WineSession::WineEnvironment() const {
    return {"WINEPREFIX=" + Environment("WINEPREFIX"), "WINEDLLOVERRIDES=mscoree,mshtml=", "WINEDEBUG=-all"};
}

void WineSession::WriteScoreFile(const std::vector<uint8_t>& bytes) {
    std::ofstream file(directory_ + "/highscores.dat", std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> WineSession::ReadScoreFile() const {
    std::ifstream file(directory_ + "/highscores.dat", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WineSession::Start(const std::string& mode) {
    const std::string probe = Environment("QUADRAFALL_PROBE");
    probe_ = LaunchProgram(session_,
                           {"/usr/bin/wine", probe, mode, WindowsPath(Environment("QUADRAFALL_EXE")),
                            WindowsPath(directory_ + "/report.txt")},
                           directory_, WineEnvironment());
    return probe_ > 0;
}

bool WineSession::WaitForMainWindow() {
    mainWindow_ = FindWindowByTitle(session_, "Quadrafall", 30000);
    if (mainWindow_ == 0) return false;
    // Wine answers keys only once the window has been painted and activated.
    PauseMs(500);
    FocusWindow(session_, mainWindow_);
    PauseMs(500);
    return true;
}

std::string WineSession::Probe(const std::vector<std::string>& arguments) {
    std::string command = "cd " + ShellQuote(directory_) + " && env DISPLAY=" + session_.displayName;
    for (const std::string& entry : WineEnvironment()) command += " " + ShellQuote(entry);
    command += " wine " + ShellQuote(Environment("QUADRAFALL_PROBE"));
    for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
    command += " 2>/dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
    // Console output under Wine ends its lines with CR LF.
    std::string clean;
    for (char c : output) {
        if (c != '\r') clean += c;
    }
    return clean;
}

bool WineSession::QueryClientArea(ClientArea& area) {
    std::istringstream reply(Probe({"client"}));
    return static_cast<bool>(reply >> area.x >> area.y >> area.width >> area.height);
}

std::vector<std::pair<int, std::string>> WineSession::DialogTexts(const std::string& title) {
    std::vector<std::pair<int, std::string>> texts;
    std::istringstream reply(Probe({"texts", title}));
    std::string line;
    while (std::getline(reply, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        texts.emplace_back(std::atoi(line.substr(0, tab).c_str()), line.substr(tab + 1));
    }
    return texts;
}

int WineSession::FocusedControl(const std::string& title) {
    std::istringstream reply(Probe({"focus", title}));
    int id = 0;
    return reply >> id ? id : -2;
}

void WineSession::Keys(const std::vector<std::string>& keysymNames) {
    for (const std::string& key : keysymNames) {
        TapKey(session_, key);
        Flush(session_);
        PauseMs(200);
    }
}

void WineSession::ChooseLevel(int level) {
    std::vector<std::string> keys = {"F10", "Down", "Down", "Right"};
    for (int i = 0; i < level; ++i) keys.push_back("Down");
    keys.push_back("Return");
    Keys(keys);
}

void WineSession::RestartWineServer() {
    const std::string script = Environment("QUADRAFALL_WINE_PREFIX_SCRIPT");
    if (script.empty()) return;
    std::system((ShellQuote(script) + " start " + ShellQuote(Environment("WINEPREFIX")) + " </dev/null >/dev/null 2>&1").c_str());
}

bool WineSession::WaitForEnd(int timeoutMs) {
    const int status = WaitForExit(probe_, timeoutMs);
    if (status < 0) return false;
    probe_ = -1;
    return true;
}

std::string WineSession::Report() const {
    std::ifstream file(directory_ + "/report.txt");
    // Written in text mode under Windows: lines end with CR LF.
    std::string report;
    for (std::istreambuf_iterator<char> c(file), end; c != end; ++c) {
        if (*c != '\r') report += *c;
    }
    return report;
}

std::vector<uint32_t> WineSession::ReadClient(const ClientArea& area, int x, int y, int width, int height) {
    return ReadPixels(session_, area.x + x, area.y + y, width, height);
}
