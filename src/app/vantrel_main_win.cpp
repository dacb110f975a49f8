#include "app/vantrel_main_win.h"

#include <shellapi.h>

#include "config/settings_files_win.h"
#include "services/os_info_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr wchar_t kClassName[] = L"TVantrelMain";
constexpr wchar_t kCaption[] = L"VantrelMain";
constexpr wchar_t kAppTitle[] = L"vantrel";

} // namespace

VantrelMain::VantrelMain() = default;

VantrelMain::~VantrelMain() { FormClose(); }

bool VantrelMain::Start() {
    // A zero-sized popup that is never shown. It is a real top-level window rather than a message-only one
    // because only top-level windows hear the shell's "TaskbarCreated" broadcast.
    if (!Create(kClassName, kCaption, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
        return false;
    FormCreate();
    return true;
}

void VantrelMain::FormCreate() {
    icons_ = std::make_unique<Win32IconSource>(system_);
    helper_.Bind(system_.WinVersion());
    system_.SetHelperAnswers(helper_.Loaded(), helper_.IsWindows10());

    files_ = std::make_unique<config::Win32SettingsFiles>();
    store_ = std::make_unique<SettingsStore>(*files_, FromWide(SettingsBaseFolder()), config::AnsiCodePageDecoder(),
                                             [this](const WriteFailure& failure) { ReportWriteFailure(failure); });
    LoadSettings(state_, *store_, system_, *icons_);

    state_.ShowStatus = 0;
    state_.MessageFlag = false;
    state_.UsKeyboardFlag = DetectUsKeyboard();

    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    AddTrayIcon();

    const std::u16string language = FromWide(LanguageAbbreviation());
    state_.JapaneseFlag = language == u"JPN";
    state_.MeiryoFlag = NeedsMeiryo(language, helper_.IsWindows10());
    helpFile_ = ToWide(HelpFileName(FromWide(ModuleFolder()), language));
}

void VantrelMain::FormClose() {
    if (closed_ || !icons_)
        return;
    closed_ = true;
    HideDialogs(5);
    FreeTrays(state_, *icons_);
    helper_.Unbind();
    DeleteTrayIcon();
}

void VantrelMain::AddTrayIcon() {
    // The small icon comes from our own file by number, the way the shell itself would find it.
    if (!trayIcon_) {
        HICON small = nullptr;
        const int index = system_.WinVersion() < 1501 ? 7 : 0;
        if (ExtractIconExW(ModulePath().c_str(), index, nullptr, &small, 1) == 1 && small)
            trayIcon_.Reset(small);
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = trayIcon_.Get();
    wcscpy(data.szTip, kAppTitle);
    // After a shell restart the old icon is gone; adding it again is the whole recovery.
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    data.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
}

void VantrelMain::DeleteTrayIcon() {
    if (!trayIconAdded_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kTrayIconId;
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
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    for (const auto& entry : BuildTrayMenu(state_.Environments, dialogs_)) {
        if (entry.id == 0) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (!entry.enabled)
            flags |= MF_GRAYED;
        if (entry.checked)
            flags |= MF_CHECKED;
        AppendMenuW(menu.Get(), flags, entry.id, WidePtr(entry.caption));
    }
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    const HWND self = Handle();
    const UINT command = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                        self, nullptr);
    PostMessageW(self, WM_NULL, 0, 0);
    // The menu ran a message loop of its own; the program may have been told to end meanwhile.
    if (!IsWindow(self) || closed_)
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
    case tmHelp:
        ShowHelp();
        break;
    case tmExit:
        DestroyWindow(Handle());
        break;
    default:
        // Entries of dialogs that are not part of this build are greyed and cannot arrive here.
        break;
    }
}

void VantrelMain::HideDialogs(int /*kind*/) {
    // No launcher window or settings dialog exists in this build yet; only the state is reset.
    state_.ShowStatus = 0;
}

void VantrelMain::ChangeEnvironment(int32_t slot) {
    const auto result = ChangeMultiIni(state_, slot, *store_, system_, *icons_);
    if (result.outcome == EnvironmentSwitch::MissingFile)
        ShowMessage(ToWide(result.message), MB_OK | MB_ICONERROR);
}

void VantrelMain::ShowHelp() {
    // Context topic 3 of the compiled help, shown by the system's help viewer. Without the file nothing happens.
    if (GetFileAttributesW(helpFile_.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::wstring parameters = L"-mapid 3 \"" + helpFile_ + L"\"";
    ShellExecuteW(Handle(), L"open", L"hh.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void VantrelMain::ReportWriteFailure(const WriteFailure& failure) {
    ShowMessage(L"The settings could not be saved to\n" + ToWide(failure.path) + L"\n\n" + ToWide(failure.reason) +
                    L"\n\nThe settings in use are kept; the file on disk is unchanged.",
                MB_OK | MB_ICONWARNING);
}

int VantrelMain::ShowMessage(const std::wstring& text, UINT flags) {
    // Triggers are ignored while a message box waits for the user.
    const bool previous = state_.MessageFlag;
    state_.MessageFlag = true;
    const int answer = MessageBoxW(Handle(), text.c_str(), kAppTitle, flags | MB_SETFOREGROUND);
    state_.MessageFlag = previous;
    return answer;
}

LRESULT VantrelMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgTrayIcon:
        TrayIconCallback(wParam, lParam);
        return 0;
    case kMsgCommand:
        // 3 opens the icon registration dialog, which this build does not have yet.
        return 0;
    case WM_DESTROY:
        FormClose();
        PostQuitMessage(0);
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            trayIconAdded_ = false;
            AddTrayIcon();
        }
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
