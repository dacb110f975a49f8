#include "launcher/task_actions.h"

#include <algorithm>
#include <set>

namespace vantrel {

namespace {

std::intptr_t TaskWindow(const TaskActionContext& c, int32_t index) {
    return c.trays[TaskTray].Items[static_cast<std::size_t>(index)].WinHandle;
}

bool IsTaskCell(const TaskActionContext& c, int32_t tray, int32_t index) {
    return tray == TaskTray && IsShownCell(c.trays, TaskTray, index);
}

// A window that ignores the system command still gets the close message. One that has not answered in time
// is busy, usually asking the user about unsaved work: a second request would only ask again.
void CloseWindow(TaskWindowOps& ops, std::intptr_t window) {
    if (ops.SendSysClose(window) == SendOutcome::Answered && ops.Exists(window))
        ops.SendClose(window);
}

} // namespace

void ActivateTask(TaskWindowOps& ops, std::intptr_t window) {
    if (ops.IsIconic(window)) {
        // Console windows are restored only once they are in front. The class name is read as four
        // characters at most, so "tty" matches exactly that class and no longer one.
        if (ops.ClassName(window).substr(0, 4) == u"tty") {
            ops.SetForeground(window);
            for (int i = 0; i < kTtyForegroundTries && ops.ForegroundWindow() != window; ++i)
                ops.Sleep(kTtyForegroundPollMs);
        }
        ops.Restore(window);
    }
    ops.SetForeground(window);
}

void IconizeTask(TaskActionContext& c, int32_t tray, int32_t index, bool maximize, bool force) {
    if (!IsTaskCell(c, tray, index))
        return;
    const int32_t shownBy = c.showStatus;
    const std::intptr_t window = TaskWindow(c, index);
    if (maximize)
        c.ops.Maximize(window);
    else if (force || !c.ops.IsIconic(window))
        c.ops.PostMinimize(window);
    // A maximised window takes the activation, which hides the launcher; it comes back as it was shown.
    if (c.showStatus == 0)
        c.showStatus = shownBy;
    c.view.BringToFront();
}

void CloseTask(TaskActionContext& c, int32_t tray, int32_t index) {
    if (!IsTaskCell(c, tray, index))
        return;
    CloseWindow(c.ops, TaskWindow(c, index));
    c.ops.RebuildTaskList();
    CursorAfterTaskClose(c.window, c.trays, c.option.ColMax, c.labelHeight);
    // With no task left the cursor goes to another tray; when that one shows nothing it designates nothing.
    const int32_t mode = std::clamp(c.window.NowMode, 0, 2);
    TrayEntry& now = c.trays[static_cast<std::size_t>(mode)];
    if (!IsShownCell(c.trays, mode, now.NowIndex))
        now.NowIndex = ShownCount(now) > 0 ? 0 : -1;
    now.LastIndex = now.NowIndex;
    c.view.RepaintAll();
    // The launcher comes back to the front, unless it lost the activation while the window was closing: then
    // the closing program has put up a question for the user, which the launcher must not cover.
    if (c.showStatus != 0)
        c.view.BringToFront();
}

void AllTasks(TaskActionContext& c, bool close) {
    if (!close) {
        c.ops.PostMinimizeAll();
        return;
    }
    ItemList& tasks = c.trays[TaskTray].Items;
    if (tasks.empty())
        return;
    const int32_t keptIndex = c.trays[TaskTray].NowIndex;
    const std::size_t rounds = tasks.size();
    // Each round takes the first window not asked yet, so a window that stays open is asked only once
    // whatever place the rebuilt list gives it.
    std::set<std::intptr_t> asked;
    for (std::size_t round = 0; round < rounds; ++round) {
        const auto next = std::find_if(tasks.begin(), tasks.end(),
                                       [&](const RData& item) { return asked.count(item.WinHandle) == 0; });
        if (next == tasks.end())
            break;
        const std::intptr_t window = next->WinHandle;
        asked.insert(window);
        c.ops.ForceForeground(window);
        c.ops.SendSysClose(window);
        c.ops.RebuildTaskList();
    }
    const auto count = static_cast<int32_t>(std::min<std::size_t>(tasks.size(), INT32_MAX));
    c.trays[TaskTray].NowIndex = std::clamp(keptIndex, 0, std::max(count - 1, 0));
    c.showStatus = 0;
    c.view.HideLauncher();
}

} // namespace vantrel
