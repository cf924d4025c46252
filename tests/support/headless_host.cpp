#include "support/headless_host.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "game/host.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "shell/common/player_message.h"

namespace {

struct VirtualTimer {
    int id;
    uint32_t interval;
    TimerCallback callback;
    uint64_t due;
    uint64_t order;  // ties between timers due at once go by start order
};

struct HeadlessHost {
    uint64_t now = 1000;
    uint64_t startCounter = 0;
    std::vector<VirtualTimer> timers;
    int redraws = 0;
    uint64_t paused = 0;
    int32_t pauseOvershoot = 0;
    int nameEntries = 0;
    bool shownPaused = false;
    void (*windowTimerHandler)() = nullptr;
    void (*nameEntryHandler)() = nullptr;
    void (*redrawObserver)() = nullptr;
    bool renderFrames = false;
    std::vector<std::string> messages;
    std::vector<uint32_t> frame = std::vector<uint32_t>(ClientWidth * ClientHeight, 0);
};

HeadlessHost host;

VirtualTimer* FindTimer(int id) {
    for (VirtualTimer& timer : host.timers) {
        if (timer.id == id) return &timer;
    }
    return nullptr;
}

VirtualTimer* NextDueBy(uint64_t limit) {
    VirtualTimer* next = nullptr;
    for (VirtualTimer& timer : host.timers) {
        if (timer.due > limit) continue;
        if (next == nullptr || timer.due < next->due || (timer.due == next->due && timer.order < next->order)) next = &timer;
    }
    return next;
}

}  // namespace

void HostStartTimer(int id, uint32_t intervalMs, TimerCallback callback) {
    VirtualTimer* timer = FindTimer(id);
    if (timer == nullptr) {
        host.timers.push_back({id, 0, nullptr, 0, 0});
        timer = &host.timers.back();
    }
    timer->interval = intervalMs;
    timer->callback = callback;
    timer->due = host.now + intervalMs;
    timer->order = host.startCounter++;
}

void HostStopTimer(int id) {
    for (std::size_t i = 0; i < host.timers.size(); ++i) {
        if (host.timers[i].id == id) {
            host.timers.erase(host.timers.begin() + static_cast<long>(i));
            return;
        }
    }
}

void HostRedraw() {
    ++host.redraws;
    if (host.renderFrames) {
        Surface target = {host.frame.data(), ClientWidth, ClientHeight};
        RenderFrame(&target);
    }
    if (host.redrawObserver != nullptr) host.redrawObserver();
}

uint32_t HostTickCount() { return static_cast<uint32_t>(host.now); }

void HostPause(uint32_t ms) {
    const int64_t lasted = std::max<int64_t>(1, static_cast<int64_t>(ms) + host.pauseOvershoot);
    host.now += static_cast<uint64_t>(lasted);
    host.paused += static_cast<uint64_t>(lasted);
}

void ShowPlayerMessage(const char* text) { host.messages.push_back(text); }

void HostOpenNameEntry() {
    ++host.nameEntries;
    if (host.nameEntryHandler != nullptr) host.nameEntryHandler();
}

void HostShowPaused(bool paused) { host.shownPaused = paused; }

void ResetHeadlessHost(uint32_t start) {
    host.now = start;
    host.startCounter = 0;
    host.timers.clear();
    host.redraws = 0;
    host.paused = 0;
    host.pauseOvershoot = 0;
    host.nameEntries = 0;
    host.shownPaused = false;
    host.windowTimerHandler = nullptr;
    host.nameEntryHandler = nullptr;
    host.redrawObserver = nullptr;
    host.renderFrames = false;
    host.messages.clear();
}

void AdvanceClock(uint32_t ms) {
    const uint64_t target = host.now + ms;
    while (VirtualTimer* timer = NextDueBy(target)) {
        if (timer->due > host.now) host.now = timer->due;
        // The next tick is set before the callback runs, which may restart or stop it.
        timer->due = host.now + timer->interval;
        TimerCallback callback = timer->callback;
        if (callback != nullptr) {
            callback();
        } else if (host.windowTimerHandler != nullptr) {
            host.windowTimerHandler();
        }
    }
    if (host.now < target) host.now = target;
}

uint32_t VirtualNow() { return static_cast<uint32_t>(host.now); }

bool TimerRunning(int id) { return FindTimer(id) != nullptr; }

uint32_t TimerInterval(int id) {
    const VirtualTimer* timer = FindTimer(id);
    return timer == nullptr ? 0 : timer->interval;
}

uint32_t TimerDueIn(int id) {
    const VirtualTimer* timer = FindTimer(id);
    if (timer == nullptr) return 0;
    return timer->due > host.now ? static_cast<uint32_t>(timer->due - host.now) : 0;
}

int RedrawCount() { return host.redraws; }
uint32_t PausedMilliseconds() { return static_cast<uint32_t>(host.paused); }
void SetPauseOvershoot(int32_t ms) { host.pauseOvershoot = ms; }
void SetWindowTimerHandler(void (*handler)()) { host.windowTimerHandler = handler; }
void SetNameEntryHandler(void (*handler)()) { host.nameEntryHandler = handler; }
int NameEntryOpenCount() { return host.nameEntries; }
bool ShownPaused() { return host.shownPaused; }
void SetRedrawRendersFrame(bool on) { host.renderFrames = on; }
const uint32_t* LastFrame() { return host.frame.data(); }
void SetRedrawObserver(void (*observer)()) { host.redrawObserver = observer; }
const std::vector<std::string>& PlayerMessages() { return host.messages; }
