// The hidden main window: its start, its end and the messages it hears. Its triggers, its notification-area icon
// and its part as the settings dialogs' host live in vantrel_main_{triggers,tray,dialogs}_win.cpp.

#include "app/vantrel_main_win.h"

#include <commctrl.h>

#include "config/settings_files_win.h"
#include "dialogs/about_dialog_win.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/option_dialog_win.h"
#include "dialogs/registration_dialog_win.h"
#include "launcher/launcher_window_win.h"
#include "services/os_info_win.h"
#include "win/dialog_win.h"
#include "win/dpi_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr wchar_t kClassName[] = L"TVantrelMain";
constexpr wchar_t kCaption[] = L"VantrelMain";

} // namespace

VantrelMain::VantrelMain(MciDevice* cdDevice) : cdDevice_(cdDevice ? *cdDevice : systemCdDevice_) {}

VantrelMain::~VantrelMain() {
    FormClose();
}

int VantrelMain::Run() {
    MSG msg{};
    for (;;) {
        if (closeRequested_ && Handle())
            DestroyWindow(Handle());
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0)
            return got == 0 ? static_cast<int>(msg.wParam) : 1;
        // The settings dialogs are modeless: their keys (Tab, mnemonics, Enter, Escape) are theirs first.
        if (PreTranslateDialogMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void VantrelMain::RequestClose() {
    closeRequested_ = true;
    // A close sent while the loop waits is answered inside GetMessage, which then waits on: this wakes it.
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void VantrelMain::EndSession() {
    // Handlers may be on the stack and never return; nothing is freed or written here, so nothing is left
    // half done. Only what other programs see goes at once.
    KillTimer();
    UnregisterLauncherHotKey();
    DeleteTrayIcon();
    RequestClose();
}

bool VantrelMain::Start() {
    // A zero-sized popup that is never shown. It is a real top-level window rather than a message-only one
    // because only top-level windows hear the shell's "TaskbarCreated" broadcast.
    if (!Create(kClassName, kCaption, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
        return false;
    FormCreate();
    return true;
}

void VantrelMain::FormCreate() {
    // The icon first: it is what the user sees of the start. A click on it waits in the queue until the message loop
    // runs, after everything below.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    AddTrayIcon();

    icons_ = std::make_unique<Win32IconSource>(system_);
    // The items' icons are read at the size the launcher shows them on the primary monitor, where it comes up unless
    // called at the mouse, so that the first show does not read them all again.
    icons_->SetIconSize(
        MonitorScale(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)).Px(IconSource::kStandardIconSize));
    helper_.Bind(system_.WinVersion());
    system_.SetHelperAnswers(helper_.Loaded(), helper_.IsWindows10());

    files_ = std::make_unique<config::Win32SettingsFiles>();
    // The portable zip's marker beside the program keeps the settings in the program's own folder.
    store_ = std::make_unique<SettingsStore>(
        *files_, ChooseSettingsLocation(*files_, FromWide(ModuleFolder()), FromWide(SettingsBaseFolder())),
        config::AnsiCodePageDecoder(), [this](const SettingsFailure& failure) { ReportSettingsFailure(failure); });
    ResidentServices services = Services();
    StartResident(state_, services);
    UpdateTitleBars();

    DialogHost& host = *this;
    optionDialog_ = std::make_unique<OptionDialog>(host);
    selectionDialog_ = std::make_unique<EnvironmentSelectionDialog>(host);
    aboutDialog_ = std::make_unique<AboutDialog>(host);
    registration_ = std::make_unique<RegistrationDialog>(host);
    dialogs_ = {true, true, true, true};
    RegisterLauncherHotKey();

    state_.ShowStatus = 0;
    state_.MessageFlag = false;
    state_.UsKeyboardFlag = DetectUsKeyboard();

    language_ = FromWide(LanguageAbbreviation());
    state_.JapaneseFlag = language_ == u"JPN";
    state_.MeiryoFlag = NeedsMeiryo(language_, helper_.IsWindows10());
    // The rest of the start comes first once the message loop runs, before any trigger or click.
    PostMessageW(Handle(), kMsgFinishStart, 0, 0);
}

void VantrelMain::FinishStartNow() {
    if (started_ || closed_)
        return;
    started_ = true;
    // The common controls load here rather than at the process start, which they would slow by a fifth: nothing
    // before this point makes a control of theirs (the notice and message boxes use the system's own).
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    launcher_ = std::make_unique<LauncherWindow>(
        LauncherServices{*this, system_, *icons_, helper_, &deviceLibrary_, &cdAudio_});
    if (!launcher_->Create(Handle()))
        launcher_.reset();
    SetTrayIconVersion();
    StartTimer();
    ResidentServices services = Services();
    FinishStart(state_, services, deviceLibrary_);
    SetTimer(Handle(), kPrepareTimerId, kPrepareEveryMs, nullptr);
}

void VantrelMain::PrepareNextDialog() {
    // Not while the user works with the program: making a dialog holds the thread for a moment, and the dialog
    // manager gives the new dialog's first control the focus, which would take the activation from the window in use.
    const HWND active = GetActiveWindow();
    if (closed_ || closeRequested_ || state_.ShowStatus != 0 || state_.MessageFlag ||
        (active && IsWindowVisible(active)))
        return;
    const bool made = (registration_ && !registration_->Handle() && registration_->Prepare()) ||
                      (optionDialog_ && !optionDialog_->Handle() && optionDialog_->Prepare()) ||
                      (selectionDialog_ && !selectionDialog_->Handle() && selectionDialog_->Prepare()) ||
                      (aboutDialog_ && !aboutDialog_->Handle() && aboutDialog_->Prepare());
    if (!made)
        ::KillTimer(Handle(), kPrepareTimerId);
}

void VantrelMain::FormClose() {
    if (closed_ || !icons_)
        return;
    closed_ = true;
    // The timer first: no tick may reach a window that is being taken apart.
    KillTimer();
    HideDialogs(5);
    // The dialogs tell this window when their windows go; that has to happen while it still listens.
    optionDialog_.reset();
    selectionDialog_.reset();
    aboutDialog_.reset();
    notice_.reset();
    // Before the trays go: the icon dialogs hold items of them.
    itemSetting_.reset();
    registration_.reset();
    UnregisterLauncherHotKey();
    ResidentServices services = Services();
    CloseResident(state_, services);
    launcher_.reset();
    helper_.Unbind();
    DeleteTrayIcon();
}

void VantrelMain::HideLauncher() {
    // The state first: hiding deactivates the window, which must then find nothing left to do.
    state_.ShowStatus = 0;
    if (launcher_)
        launcher_->Hide();
}

LRESULT VantrelMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgTrayIcon:
        TrayIconCallback(wParam, lParam);
        return 0;
    case kMsgCommand:
        switch (wParam) {
        case 0:
            MouseShow();
            break;
        case 1:
            UnregisterLauncherHotKey();
            break;
        case 2:
            RegisterLauncherHotKey();
            break;
        case 3:
            OpenRegistration();
            break;
        default:
            break;
        }
        return 0;
    case kMsgTick:
        Tick();
        return 0;
    case kMsgFinishStart:
        FinishStartNow();
        return 0;
    case WM_HOTKEY:
        HotKey();
        return 0;
    case WM_TIMER:
        if (wParam == kPrepareTimerId) {
            PrepareNextDialog();
            return 0;
        }
        if (wParam != kTrayRetryTimerId)
            return DefaultProc(message, wParam, lParam);
        // An icon given up for the end of the session does not come back.
        if (!closed_ && !closeRequested_)
            AddTrayIcon();
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // The primary monitor's DPI may have changed with the display: the icon follows the small-icon size.
        if (trayIconAdded_ && !closed_)
            AddTrayIcon();
        return DefaultProc(message, wParam, lParam);
    case WM_SETTINGCHANGE:
        // "ImmersiveColorSet" when the apps' colours change; high contrast and the system colours come this way too.
        UpdateTitleBars();
        return DefaultProc(message, wParam, lParam);
    case WM_DEVICECHANGE:
        // Whatever changed, the USB drive list is rebuilt; without the library nothing happens.
        RefreshDeviceList(deviceLibrary_, state_.Devices);
        return TRUE;
    case WM_CLOSE:
        // How the installer and the uninstaller ask a running copy to end: the same road as "E&xit".
        RequestClose();
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return 0;
    case WM_DESTROY:
        FormClose();
        PostQuitMessage(0);
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0 && !closeRequested_)
            AddTrayIcon();
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
