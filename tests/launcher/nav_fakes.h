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

namespace vantrel::testing {

using Log = std::vector<std::string>;

inline std::string Narrow(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

class RecordingView : public LauncherView {
public:
    explicit RecordingView(Log& log) : log_(log) {}
    void HideLauncher() override {
        hidden = true;
        log_.push_back("hide");
    }
    void RepaintAll() override { log_.push_back("repaint"); }
    void BringToFront() override {
        hidden = false;
        log_.push_back("front");
    }
    void ShowNameNow(const std::u16string& text) override { log_.push_back("name " + Narrow(text)); }
    void SetCdPlayFlag(bool on) override {
        cdPlayFlag = on;
        log_.push_back(on ? "cd-flag on" : "cd-flag off");
    }
    bool hidden = false;
    bool cdPlayFlag = false;

private:
    Log& log_;
};

class RecordingShell : public ShellExecutor {
public:
    explicit RecordingShell(Log& log) : log_(log) {}
    std::vector<ExecuteRequest> executed;
    std::map<std::u16string, std::intptr_t> windows; // "class|title" -> handle
    std::intptr_t foreground = 0;
    bool foregroundFollows = true; // SetForeground succeeds
    uint32_t tick = 1000;

    void Execute(const ExecuteRequest& request) override {
        executed.push_back(request);
        log_.push_back("execute " + Narrow(request.verb) + " " + Narrow(request.file));
    }
    void OpenSpecialFolder(int32_t folderId) override { log_.push_back("folder " + std::to_string(folderId)); }
    std::intptr_t FindTopWindow(std::u16string_view className, std::u16string_view title) override {
        const auto it = windows.find(std::u16string(className) + u"|" + std::u16string(title));
        return it == windows.end() ? 0 : it->second;
    }
    std::intptr_t FirstChild(std::intptr_t window) override { return window ? window + 1 : 0; }
    std::intptr_t DesktopWindow() override { return 1; }
    std::intptr_t ForegroundWindow() override { return foreground; }
    void SetForeground(std::intptr_t window) override {
        if (foregroundFollows)
            foreground = window;
        log_.push_back("foreground " + std::to_string(window));
    }
    void Post(std::intptr_t window, uint32_t message, uintptr_t wParam, intptr_t) override {
        log_.push_back("post " + std::to_string(window) + " " + std::to_string(message) + " " + std::to_string(wParam));
    }
    void ProcessPendingMessages() override { log_.push_back("pump"); }
    void Sleep(uint32_t milliseconds) override {
        tick += milliseconds;
        log_.push_back("sleep " + std::to_string(milliseconds));
    }
    uint32_t TickCount() override { return tick; }
    void Suspend() override { log_.push_back("suspend"); }
    void CancelNetworkConnection(const std::u16string& localName) override {
        log_.push_back("disconnect " + Narrow(localName));
    }
    void EjectDevice(int32_t deviceHandle) override { log_.push_back("eject " + std::to_string(deviceHandle)); }
    void Cd(CdCommand command) override { log_.push_back("cd " + std::to_string(static_cast<int>(command))); }

private:
    Log& log_;
};

// Windows of other programs in z-order (topmost first), and how each answers a close.
class FakeTaskWindows : public TaskWindowOps {
public:
    enum class Close { OnSysCommand, OnCloseMessageOnly, Refuses, Hung, AsksTheUser };
    struct Window {
        std::intptr_t handle = 0;
        std::u16string title;
        std::u16string className = u"App";
        bool iconic = false;
        Close close = Close::OnSysCommand;
    };

    FakeTaskWindows(Log& log, std::array<TrayEntry, 3>& trays, int32_t& showStatus, RecordingView& view)
        : log_(log), trays_(trays), showStatus_(showStatus), view_(view) {}

    std::vector<Window> zOrder;
    std::intptr_t foreground = 0;
    int foregroundDelay = 0; // SetForeground takes effect only after this many polls

    void Add(std::intptr_t handle, std::u16string title, Close close = Close::OnSysCommand) {
        zOrder.push_back({handle, std::move(title), u"App", false, close});
    }
    Window* Find(std::intptr_t handle) {
        const auto it = std::find_if(zOrder.begin(), zOrder.end(), [&](const Window& w) { return w.handle == handle; });
        return it == zOrder.end() ? nullptr : &*it;
    }

    bool Exists(std::intptr_t window) override { return Find(window) != nullptr; }
    bool IsIconic(std::intptr_t window) override { return Find(window) && Find(window)->iconic; }
    std::u16string ClassName(std::intptr_t window) override { return Find(window) ? Find(window)->className : u""; }
    std::intptr_t ForegroundWindow() override {
        if (pending_ && --foregroundDelay <= 0) {
            foreground = pending_;
            pending_ = 0;
        }
        return foreground;
    }
    void SetForeground(std::intptr_t window) override {
        log_.push_back("foreground " + std::to_string(window));
        if (foregroundDelay > 0)
            pending_ = window;
        else
            foreground = window;
    }
    void ForceForeground(std::intptr_t window) override {
        log_.push_back("force " + std::to_string(window));
        if (Window* w = Find(window)) {
            const Window copy = *w;
            zOrder.erase(zOrder.begin() + (w - zOrder.data()));
            zOrder.insert(zOrder.begin(), copy);
        }
        Deactivate();
    }
    void Restore(std::intptr_t window) override {
        log_.push_back("restore " + std::to_string(window));
        if (Window* w = Find(window))
            w->iconic = false;
    }
    void Maximize(std::intptr_t window) override {
        log_.push_back("maximize " + std::to_string(window));
        Deactivate(); // the maximised window takes the activation
    }
    void PostMinimize(std::intptr_t window) override { log_.push_back("minimize " + std::to_string(window)); }
    SendOutcome SendSysClose(std::intptr_t window) override {
        log_.push_back("sys-close " + std::to_string(window));
        return Answer(window, Close::OnSysCommand);
    }
    SendOutcome SendClose(std::intptr_t window) override {
        log_.push_back("close " + std::to_string(window));
        return Answer(window, Close::OnCloseMessageOnly);
    }
    void PostMinimizeAll() override { log_.push_back("minimize-all"); }
    void Sleep(uint32_t milliseconds) override { log_.push_back("sleep " + std::to_string(milliseconds)); }
    // As the Task list builder does: z-order, the topmost moved to the end.
    void RebuildTaskList() override {
        log_.push_back("rebuild");
        ItemList& tasks = trays_[TaskTray].Items;
        tasks.clear();
        for (const Window& w : zOrder) {
            RData item;
            item.WinHandle = w.handle;
            item.Title = w.title;
            tasks.push_back(item);
        }
        if (tasks.size() >= 2)
            std::rotate(tasks.begin(), tasks.begin() + 1, tasks.end());
    }

private:
    SendOutcome Answer(std::intptr_t window, Close closesOn) {
        Window* w = Find(window);
        if (!w)
            return SendOutcome::Failed;
        switch (w->close) {
        case Close::Hung:
            return SendOutcome::TimedOut;
        case Close::AsksTheUser:
            Deactivate(); // its question takes the activation
            return SendOutcome::TimedOut;
        case Close::Refuses:
            return SendOutcome::Answered;
        default:
            if (w->close == closesOn)
                zOrder.erase(zOrder.begin() + (w - zOrder.data()));
            return SendOutcome::Answered;
        }
    }
    // The launcher losing the activation hides it, as its activate handler does.
    void Deactivate() {
        if (showStatus_ != 0) {
            showStatus_ = 0;
            view_.HideLauncher();
        }
    }

    Log& log_;
    std::array<TrayEntry, 3>& trays_;
    int32_t& showStatus_;
    RecordingView& view_;
    std::intptr_t pending_ = 0;
};

// A shown launcher with everything a run needs.
struct LauncherRig {
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

    // Task items for the fake windows, as a show builds them.
    void ShowTasks() {
        ops.RebuildTaskList();
        SetLayout(window, trays, option.ColMax, 15);
        log.clear();
    }
    const RData& TaskAt(int32_t i) const { return trays[TaskTray].Items[static_cast<std::size_t>(i)]; }
};

} // namespace vantrel::testing
