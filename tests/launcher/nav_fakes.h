#pragma once
// Recording doubles of the shell, the task windows and the launcher window, writing into one log so that a
// test sees the order of everything a run did.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "launcher/run_item.h"
#include "launcher/task_actions.h"
#include "services/text.h"
#include "support/fake_system.h"
#include "support/utf8.h"

namespace vantrel::testing {

using Log = std::vector<std::string>;
inline std::string S(std::intptr_t n) {
    return std::to_string(n);
}

struct RecordingView : LauncherView {
    explicit RecordingView(Log& l) : log(l) {}
    void HideLauncher() override { hidden = true, log.push_back("hide"); }
    void RepaintAll() override { log.push_back("repaint"); }
    void BringToFront() override { hidden = false, log.push_back("front"); }
    void ShowNameNow(const std::u16string& text) override { log.push_back("name " + Utf16ToUtf8(text)); }
    void SetCdPlayFlag(bool on) override { log.push_back(on ? "cd-flag on" : "cd-flag off"); }
    Log& log;
    bool hidden = false;
};

struct RecordingShell : ShellExecutor {
    explicit RecordingShell(Log& l) : log(l) {}
    void Execute(const ExecuteRequest& r) override {
        executed.push_back(r);
        log.push_back("execute " + Utf16ToUtf8(r.verb) + " " + Utf16ToUtf8(r.file));
    }
    void OpenSpecialFolder(int32_t id) override { log.push_back("folder " + S(id)); }
    std::intptr_t FindTopWindow(std::u16string_view cls, std::u16string_view) override {
        return windows.count(std::u16string(cls)) ? windows[std::u16string(cls)] : 0;
    }
    std::intptr_t FirstChild(std::intptr_t window) override { return window + 1; }
    std::intptr_t DesktopWindow() override { return 1; }
    std::intptr_t ForegroundWindow() override { return foreground; }
    void SetForeground(std::intptr_t w) override { foreground = follows ? w : foreground, log.push_back("fg " + S(w)); }
    void Post(std::intptr_t w, uint32_t message, uintptr_t wParam, intptr_t) override {
        log.push_back("post " + S(w) + " " + S(message) + " " + S(static_cast<std::intptr_t>(wParam)));
    }
    void ProcessPendingMessages() override { log.push_back("pump"); }
    void Sleep(uint32_t ms) override { tick += ms, log.push_back("sleep " + S(ms)); }
    uint32_t TickCount() override { return tick; }
    void Suspend() override { log.push_back("suspend"); }
    void CancelNetworkConnection(const std::u16string& name) override { log.push_back("cut " + Utf16ToUtf8(name)); }
    void EjectDevice(int32_t handle) override { log.push_back("eject " + S(handle)); }
    void Cd(CdCommand command) override { log.push_back("cd " + S(static_cast<int>(command))); }

    Log& log;
    std::vector<ExecuteRequest> executed;
    std::map<std::u16string, std::intptr_t> windows; // by class
    std::intptr_t foreground = 0;
    bool follows = true; // SetForeground succeeds
    uint32_t tick = 1000;
};

// Other programs' windows in z-order (topmost first), and how each answers a close.
struct FakeTaskWindows : TaskWindowOps {
    enum class Close { OnSysCommand, OnCloseMessage, Refuses, Hung, AsksTheUser };
    struct Window {
        std::intptr_t handle;
        Close close;
        bool iconic = false;
        std::u16string className = u"App";
    };
    FakeTaskWindows(Log& l, std::array<TrayEntry, 3>& t, int32_t& s, RecordingView& v)
        : log(l), trays(t), showStatus(s), view(v) {}

    Window* Find(std::intptr_t h) {
        const auto it = std::find_if(zOrder.begin(), zOrder.end(), [&](const Window& w) { return w.handle == h; });
        return it == zOrder.end() ? nullptr : &*it;
    }
    bool Exists(std::intptr_t w) override { return Find(w); }
    bool IsIconic(std::intptr_t w) override { return Find(w) && Find(w)->iconic; }
    std::u16string ClassName(std::intptr_t w) override { return Find(w)->className; }
    std::intptr_t ForegroundWindow() override { return --foregroundAfterPolls <= 0 ? foreground : 0; }
    void SetForeground(std::intptr_t w) override { foreground = w, log.push_back("fg " + S(w)); }
    void ForceForeground(std::intptr_t w) override {
        log.push_back("force " + S(w));
        std::stable_partition(zOrder.begin(), zOrder.end(), [&](const Window& x) { return x.handle == w; });
        Deactivate();
    }
    void Restore(std::intptr_t w) override { log.push_back("restore " + S(w)); }
    void Maximize(std::intptr_t w) override { log.push_back("maximize " + S(w)), Deactivate(); }
    void PostMinimize(std::intptr_t w) override { log.push_back("minimize " + S(w)); }
    SendOutcome SendSysClose(std::intptr_t w) override { return Answer(w, "sys-close ", Close::OnSysCommand); }
    SendOutcome SendClose(std::intptr_t w) override { return Answer(w, "close ", Close::OnCloseMessage); }
    void PostMinimizeAll() override { log.push_back("minimize-all"); }
    void Sleep(uint32_t ms) override { log.push_back("sleep " + S(ms)); }
    // As the Task list builder does: z-order, the topmost moved to the end.
    void RebuildTaskList() override {
        log.push_back("rebuild");
        ItemList& tasks = trays[TaskTray].Items;
        tasks.clear();
        for (const Window& w : zOrder)
            tasks.push_back(RData{.WinHandle = w.handle, .Title = u"task " + Utf8ToUtf16(S(w.handle))});
        if (tasks.size() >= 2)
            std::rotate(tasks.begin(), tasks.begin() + 1, tasks.end());
    }

    SendOutcome Answer(std::intptr_t h, const char* what, Close closesOn) {
        log.push_back(what + S(h));
        Window* w = Find(h);
        if (w && w->close == closesOn)
            zOrder.erase(zOrder.begin() + (w - zOrder.data()));
        if (w && w->close == Close::AsksTheUser)
            Deactivate(); // its question takes the activation
        const bool silent = w && (w->close == Close::Hung || w->close == Close::AsksTheUser);
        return !w ? SendOutcome::Failed : silent ? SendOutcome::TimedOut : SendOutcome::Answered;
    }
    // The launcher losing the activation hides, as its activate handler does.
    void Deactivate() {
        if (showStatus != 0)
            showStatus = 0, view.HideLauncher();
    }

    Log& log;
    std::array<TrayEntry, 3>& trays;
    int32_t& showStatus;
    RecordingView& view;
    std::vector<Window> zOrder;
    std::intptr_t foreground = 0;
    int foregroundAfterPolls = 0;
};
using Close = FakeTaskWindows::Close;

// A shown launcher with everything a run needs.
struct LauncherRig {
    // Windows 1..n in z-order become the Task list 2..n, 1.
    void ShowTasks(const std::vector<Close>& closes) {
        for (Close close : closes)
            ops.zOrder.push_back({static_cast<std::intptr_t>(ops.zOrder.size() + 1), close});
        ops.RebuildTaskList();
        SetLayout(window, trays, option.ColMax, 15);
        log.clear();
    }

    Log log;
    std::array<TrayEntry, 3> trays;
    LauncherWindowState window;
    TOption option;
    int32_t showStatus = 1;
    RecordingView view{log};
    FakeTaskWindows ops{log, trays, showStatus, view};
    RecordingShell shell{log};
    FakeSystem system;
    TaskActionContext tasks{trays, window, option, showStatus, 15, view, ops};
    RunContext run{tasks, shell, system};
};

} // namespace vantrel::testing
