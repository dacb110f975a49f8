#pragma once
// The window-system calls of the task actions. Every message that waits for another program goes through
// SendMessageTimeoutW with a short limit, and show-window requests to other programs' windows are posted,
// so a program that has stopped answering never stops the launcher.

#include <functional>

#include <windows.h>

#include "launcher/task_actions.h"
#include "services/os_info_win.h"

namespace vantrel::win {

// How long a close request waits for the window. A program that saves its state on close answers well
// within it; one that asks the user something keeps its question up and the launcher goes on.
constexpr UINT kCloseTimeoutMs = 500;
// How long maximising a task window waits for that window to take the activation.
constexpr DWORD kActivationWaitMs = 500;
// The taskbar's "minimise all windows" command.
constexpr WPARAM kMinimizeAllCommand = 415;

class Win32TaskWindowOps : public TaskWindowOps {
public:
    // rebuild: the launcher's Task list builder, run after every close.
    explicit Win32TaskWindowOps(std::function<void()> rebuild) : rebuild_(std::move(rebuild)) {}

    bool Exists(std::intptr_t window) override;
    bool IsIconic(std::intptr_t window) override;
    std::u16string ClassName(std::intptr_t window) override;
    std::intptr_t ForegroundWindow() override;
    void SetForeground(std::intptr_t window) override;
    void ForceForeground(std::intptr_t window) override;
    void Restore(std::intptr_t window) override;
    void Maximize(std::intptr_t window) override;
    void PostMinimize(std::intptr_t window) override;
    SendOutcome SendSysClose(std::intptr_t window) override;
    SendOutcome SendClose(std::intptr_t window) override;
    void PostMinimizeAll() override;
    void Sleep(uint32_t milliseconds) override;
    void RebuildTaskList() override;

private:
    std::function<void()> rebuild_;
};

} // namespace vantrel::win
