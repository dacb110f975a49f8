#pragma once
// What the launcher does to the windows of the Task tray: activate, minimise, maximise, close, close all and
// minimise all. The decisions are here; the window-system calls sit behind TaskWindowOps (Win32:
// task_actions_win.h) and the launcher window's own reactions behind LauncherView.

#include <array>
#include <cstdint>
#include <string>

#include "core/records.h"
#include "launcher/layout.h"

namespace vantrel {

// The launcher window as the actions need it.
class LauncherView {
public:
    virtual ~LauncherView() = default;
    // Hides the window. The caller has already ended the shown state (ShowStatus 0).
    virtual void HideLauncher() = 0;
    // The Task list changed and the window's layout has been computed anew (with the cursor placed on it):
    // size and paint the whole window again, leaving layout and cursor as they are.
    virtual void RepaintAll() = 0;
    // Shows the window (it may have been hidden by losing the activation) and makes it the foreground window.
    virtual void BringToFront() = 0;
    // Puts a text into the name panel and paints it at once, before a call that may not return soon.
    virtual void ShowNameNow(const std::u16string& text) = 0;
    // A CD command or the popup menu is in progress: the window refuses to close and the hot key leaves it.
    virtual void SetCdPlayFlag(bool on) = 0;
};

// Answer of a message sent to another program's window with a time limit.
enum class SendOutcome {
    Answered,
    TimedOut, // no answer in time, or the window is known to be hung
    Failed,   // the window is gone, or the message could not be sent
};

// The window-system calls of the task actions.
class TaskWindowOps {
public:
    virtual ~TaskWindowOps() = default;
    virtual bool Exists(std::intptr_t window) = 0;
    virtual bool IsIconic(std::intptr_t window) = 0;
    virtual std::u16string ClassName(std::intptr_t window) = 0;
    virtual std::intptr_t ForegroundWindow() = 0;
    virtual void SetForeground(std::intptr_t window) = 0;
    // Takes the foreground even from another program's window (attaches to its input first).
    virtual void ForceForeground(std::intptr_t window) = 0;
    virtual void Restore(std::intptr_t window) = 0;             // show-window restore
    virtual void Maximize(std::intptr_t window) = 0;            // show-window maximise
    virtual void PostMinimize(std::intptr_t window) = 0;        // posted system command minimise
    virtual SendOutcome SendSysClose(std::intptr_t window) = 0; // system command close, time-limited
    virtual SendOutcome SendClose(std::intptr_t window) = 0;    // the close message, time-limited
    virtual void PostMinimizeAll() = 0; // the taskbar's minimise-all command; nothing without a taskbar
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Rebuilds the Task list from the desktop's windows (the launcher's own task-list builder).
    virtual void RebuildTaskList() = 0;
};

// What the actions read and change.
struct TaskActionContext {
    std::array<TrayEntry, 3>& trays;
    LauncherWindowState& window;
    const TOption& option;
    int32_t& showStatus; // the resident core's ShowStatus
    int32_t labelHeight = 0;
    LauncherView& view;
    TaskWindowOps& ops;
};

// A console window ("tty") takes the foreground only after a moment: tried this often, this far apart.
constexpr int kTtyForegroundTries = 10;
constexpr uint32_t kTtyForegroundPollMs = 100;

// Brings a task window to the front, restoring it when it is minimised.
void ActivateTask(TaskWindowOps& ops, std::intptr_t window);

// Minimises (when not already minimised, or with force) or maximises task `index`; the launcher stays up.
void IconizeTask(TaskActionContext& c, int32_t tray, int32_t index, bool maximize, bool force);

// Closes task `index`, rebuilds the Task list and repaints the launcher with the cursor on the same place
// (or on another tray when no task is left). Other trays have no windows to close: nothing happens there.
void CloseTask(TaskActionContext& c, int32_t tray, int32_t index);

// close false: the taskbar's minimise-all. close true: asks every task window to close, one after the other;
// a window that refuses or does not answer stays and the next one is taken. The launcher ends hidden: each
// close takes the foreground away from it.
void AllTasks(TaskActionContext& c, bool close);

} // namespace vantrel
