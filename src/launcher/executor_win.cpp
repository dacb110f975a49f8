#include "launcher/executor_win.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

#include <string>

#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

// Null for an empty text, as the shell expects for "no verb", "no parameters" and "no folder".
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

void Win32ShellExecutor::Execute(const ExecuteRequest& request) {
    const std::wstring verb = ToWide(request.verb);
    const std::wstring file = ToWide(request.file);
    const std::wstring parameters = ToWide(request.parameters);
    const std::wstring folder = ToWide(request.folder);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // No flags: the shell reports a failed start with its own dialog, and the launcher has nothing to add.
    info.fMask = 0;
    info.hwnd = request.owner == ExecuteRequest::Owner::MainWindow ? mainWindow_ : nullptr;
    info.lpVerb = OrNull(verb);
    info.lpFile = file.c_str();
    info.lpParameters = OrNull(parameters);
    info.lpDirectory = OrNull(folder);
    info.nShow = request.show;
    ShellExecuteExW(&info);
}

void Win32ShellExecutor::OpenSpecialFolder(int32_t folderId) {
    PIDLIST_ABSOLUTE idList = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(mainWindow_, folderId, &idList)) || !idList)
        return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_IDLIST;
    info.hwnd = mainWindow_;
    info.lpVerb = L"open";
    info.nShow = SW_SHOWNORMAL;
    info.lpIDList = idList;
    ShellExecuteExW(&info);
    CoTaskMemFree(idList);
}

std::intptr_t Win32ShellExecutor::FindTopWindow(std::u16string_view className, std::u16string_view title) {
    const std::wstring cls = ToWide(className);
    const std::wstring text = ToWide(title);
    return FromHwnd(FindWindowW(cls.c_str(), OrNull(text)));
}

std::intptr_t Win32ShellExecutor::FirstChild(std::intptr_t window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_CHILD));
}

std::intptr_t Win32ShellExecutor::DesktopWindow() {
    return FromHwnd(GetDesktopWindow());
}

std::intptr_t Win32ShellExecutor::ForegroundWindow() {
    return FromHwnd(GetForegroundWindow());
}

void Win32ShellExecutor::SetForeground(std::intptr_t window) {
    SetForegroundWindow(ToHwnd(window));
}

void Win32ShellExecutor::Post(std::intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // A null window would post to this thread's own queue.
    if (window)
        PostMessageW(ToHwnd(window), message, wParam, lParam);
}

void Win32ShellExecutor::ProcessPendingMessages() {
    win::ProcessPendingMessages();
}

void Win32ShellExecutor::Sleep(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

uint32_t Win32ShellExecutor::TickCount() {
    return GetTickCount();
}

void Win32ShellExecutor::Suspend() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    SetSystemPowerState(TRUE, TRUE);
}

void Win32ShellExecutor::CancelNetworkConnection(const std::u16string& localName) {
    const std::wstring name = ToWide(localName);
    WNetCancelConnection2W(name.c_str(), 0, FALSE);
}

void Win32ShellExecutor::EjectDevice(int32_t deviceHandle) {
    if (devices_)
        devices_->EjectDeviceHandle(static_cast<uint32_t>(deviceHandle));
}

void Win32ShellExecutor::Cd(CdCommand command) {
    if (!cd_)
        return;
    switch (command) {
    case CdCommand::Toggle:
        cd_->Toggle();
        break;
    case CdCommand::PlayFromStart:
        cd_->CdPlay(1);
        break;
    case CdCommand::NextTrack:
        cd_->CdNextTrack();
        break;
    case CdCommand::PreviousTrack:
        cd_->CdPreviousTrack();
        break;
    case CdCommand::Eject:
        cd_->CdEject();
        break;
    }
}

} // namespace vantrel::win
