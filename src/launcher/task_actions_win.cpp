#include "launcher/task_actions_win.h"

#include "services/os_info_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

SendOutcome SendWithTimeout(std::intptr_t window, UINT message, WPARAM wParam) {
    const HWND hwnd = ToHwnd(window);
    if (!IsWindow(hwnd))
        return SendOutcome::Failed;
    DWORD_PTR result = 0;
    // Not SMTO_BLOCK: while it waits this thread still answers messages sent to it, so a program that calls
    // back into the launcher while it closes cannot lock both until the limit.
    if (SendMessageTimeoutW(hwnd, message, wParam, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs, &result))
        return SendOutcome::Answered;
    // A window destroyed while it handled the message has still done what was asked.
    return IsWindow(hwnd) ? SendOutcome::TimedOut : SendOutcome::Answered;
}

} // namespace

bool Win32TaskWindowOps::Exists(std::intptr_t window) {
    return IsWindow(ToHwnd(window)) != FALSE;
}

bool Win32TaskWindowOps::IsIconic(std::intptr_t window) {
    return ::IsIconic(ToHwnd(window)) != FALSE;
}

std::u16string Win32TaskWindowOps::ClassName(std::intptr_t window) {
    wchar_t name[256] = {};
    GetClassNameW(ToHwnd(window), name, 256);
    return FromWide(name);
}

std::intptr_t Win32TaskWindowOps::ForegroundWindow() {
    return FromHwnd(GetForegroundWindow());
}

void Win32TaskWindowOps::SetForeground(std::intptr_t window) {
    SetForegroundWindow(ToHwnd(window));
}

void Win32TaskWindowOps::ForceForeground(std::intptr_t window) {
    // A window that has just been asked to close and did not answer is the foreground one at the next close of
    // "All close"; the forcing never ties the launcher to a thread that does not answer.
    win::ForceForeground(ToHwnd(window));
}

// Posted: ShowWindow on another thread's window waits for that thread.
void Win32TaskWindowOps::Restore(std::intptr_t window) {
    ShowWindowAsync(ToHwnd(window), SW_RESTORE);
}

void Win32TaskWindowOps::Maximize(std::intptr_t window) {
    const HWND hwnd = ToHwnd(window);
    ShowWindowAsync(hwnd, SW_MAXIMIZE);
    // The window takes the activation when its own thread gets to the request, and the launcher comes back to
    // the front after this: taken any earlier, the window would take the front from it a moment later. So wait
    // for the activation, answering only messages sent to this thread (the loss of the activation among them),
    // and not long: a window that does not answer never gets there.
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != hwnd && IsWindow(hwnd) && GetTickCount() - start < kActivationWaitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // The window's thread answers only once it has finished the request, stacking included.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kForegroundAnswerMs, &result);
}

void Win32TaskWindowOps::PostMinimize(std::intptr_t window) {
    PostMessageW(ToHwnd(window), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

SendOutcome Win32TaskWindowOps::SendSysClose(std::intptr_t window) {
    return SendWithTimeout(window, WM_SYSCOMMAND, SC_CLOSE);
}

SendOutcome Win32TaskWindowOps::SendClose(std::intptr_t window) {
    return SendWithTimeout(window, WM_CLOSE, 0);
}

void Win32TaskWindowOps::PostMinimizeAll() {
    if (const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr))
        PostMessageW(taskbar, WM_COMMAND, kMinimizeAllCommand, 0);
}

void Win32TaskWindowOps::Sleep(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

void Win32TaskWindowOps::RebuildTaskList() {
    if (rebuild_)
        rebuild_();
}

} // namespace vantrel::win
