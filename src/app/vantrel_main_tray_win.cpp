// The notification-area icon of the hidden main window and its tray menu.

#include "app/vantrel_main_win.h"

#include <shellapi.h>

#include <vector>

#include "dialogs/about_dialog_win.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/help_topics.h"
#include "dialogs/option_dialog_win.h"
#include "services/usb_stop_all.h"
#include "win/dpi_win.h"
#include "win/popup_menu_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr UINT kTrayIconId = 1;

// What names the icon to the shell: this window's icon number 1.
NOTIFYICONDATAW IconOf(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

} // namespace

void VantrelMain::AddTrayIcon() {
    // The small icon at the system's small-icon size for the taskbar's (the primary) monitor: its own image of that
    // size, not one scaled.
    const int size = SystemMetricAt(SM_CXSMICON, MonitorScale(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
    if (!trayIcon_ || size != trayIconSize_) {
        // Icon number 0 of the file, 7 on older systems (the numbers the shell would use), taken from the resources
        // already in memory rather than by reading the file again.
        const wchar_t* name = system_.WinVersion() < 1501 ? L"XSMALL" : L"MAINICON";
        if (const auto small =
                static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0))) {
            trayIcon_.Reset(small);
            trayIconSize_ = size;
        }
    }
    NOTIFYICONDATAW data = IconOf(Handle());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = trayIcon_.Get();
    wcscpy(data.szTip, kAppTitle);
    // After a shell restart the old icon is gone and adding it again is the whole recovery. The same
    // broadcast also comes while the icon still exists (Wine, a display change); the add then fails and
    // the icon is only refreshed, but it is still ours to remove at exit.
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    // At the start the version follows with the rest of it: each call is a round trip to the shell, and the callbacks
    // of the first moment read the same either way.
    if (started_)
        SetTrayIconVersion();
    // Without the icon the program could only be ended from the task manager; the shell gives no sign when it
    // becomes ready, so the add is simply tried again.
    if (const uint32_t retryMs = trayIconRetry_.AfterAttempt(trayIconAdded_))
        SetTimer(Handle(), kTrayRetryTimerId, retryMs, nullptr);
    else
        ::KillTimer(Handle(), kTrayRetryTimerId);
}

void VantrelMain::SetTrayIconVersion() {
    if (!trayIconAdded_)
        return;
    NOTIFYICONDATAW data = IconOf(Handle());
    data.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
}

void VantrelMain::DeleteTrayIcon() {
    if (!trayIconAdded_)
        return;
    NOTIFYICONDATAW data = IconOf(Handle());
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayIconAdded_ = false;
}

void VantrelMain::TrayIconCallback(WPARAM wParam, LPARAM lParam) {
    // Version 4 puts the event in the low word of lParam and the anchor point in wParam; an older shell
    // sends the bare mouse message, which the low word reads the same.
    const UINT event = LOWORD(lParam);
    switch (trayInput_.OnCallback(event)) {
    case TrayIconAction::OpenRegistration:
        PostMessageW(Handle(), kMsgCommand, 3, 0);
        break;
    case TrayIconAction::ShowMenu: {
        POINT at{};
        if (event == WM_CONTEXTMENU) {
            at.x = static_cast<short>(LOWORD(wParam));
            at.y = static_cast<short>(HIWORD(wParam));
        } else {
            GetCursorPos(&at);
        }
        ShowTrayMenu(at);
        break;
    }
    case TrayIconAction::None:
        break;
    }
}

void VantrelMain::ShowTrayMenu(POINT at) {
    std::vector<PopupItem> items;
    for (const auto& entry : BuildTrayMenu(state_.Environments, dialogs_, AnyStoppableDrive(state_.Devices)))
        items.push_back({entry.id, entry.caption, entry.enabled, entry.checked});
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    const HWND self = Handle();
    const uint32_t command = TrackPopup(self, items, at, TPM_NONOTIFY);
    PostMessageW(self, WM_NULL, 0, 0);
    // The menu ran a message loop of its own; the program may have been told to end meanwhile.
    if (!IsWindow(self) || closeRequested_)
        return;
    if (command)
        RunTrayCommand(command);
}

void VantrelMain::RunTrayCommand(uint32_t command) {
    if (command >= tmSet1 && command <= tmSet5) {
        HideDialogs(5);
        ChangeEnvironment(static_cast<int32_t>(command - tmSet1 + 1));
        return;
    }
    switch (command) {
    case tmOption:
        HideDialogs(2);
        if (optionDialog_)
            optionDialog_->Open();
        break;
    case tmRegist:
        PostMessageW(Handle(), kMsgCommand, 3, 0);
        break;
    case tmCondition:
        HideDialogs(4);
        if (selectionDialog_)
            selectionDialog_->Open();
        break;
    case tmAbout:
        HideDialogs(3);
        if (aboutDialog_)
            aboutDialog_->Open();
        break;
    case tmHelp:
        ShowHelp(kHelpTrayMenu);
        break;
    case tmExit:
        RequestClose();
        break;
    case tmStopAllDrives:
        StopAllUsbDrives();
        break;
    default:
        // Entries of dialogs that are not part of this build are greyed and cannot arrive here.
        break;
    }
}

void VantrelMain::StopAllUsbDrives() {
    const std::vector<DriveStop> stops = vantrel::StopAllUsbDrives(deviceLibrary_, state_.Devices);
    // What is left, at once: the system's device-change notice may come later than the message (never under Wine).
    RefreshDeviceList(deviceLibrary_, state_.Devices);
    ShowMessage(ToWide(StopAllMessage(stops)), MB_OK | (AllStopped(stops) ? MB_ICONINFORMATION : MB_ICONWARNING));
}

} // namespace vantrel::win
