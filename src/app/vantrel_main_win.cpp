#include "app/vantrel_main_win.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <vector>

#include "app/environment_change.h"
#include "app/help_choice.h"
#include "config/settings_files_win.h"
#include "config/system_items.h"
#include "dialogs/about_dialog_win.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/help_topics.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/option_dialog_win.h"
#include "dialogs/registration_dialog_win.h"
#include "launcher/launcher_window_win.h"
#include "services/os_info_win.h"
#include "win/dpi_win.h"
#include "win/popup_menu_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr wchar_t kClassName[] = L"TVantrelMain";
constexpr wchar_t kCaption[] = L"VantrelMain";
constexpr wchar_t kAppTitle[] = L"vantrel";

constexpr int kHotKeyId = 0;
constexpr UINT_PTR kTrayRetryTimerId = 1;
constexpr UINT kTickMs = 100;
// Parent chains are a handful of windows deep; the bound only guards against a chain that never ends.
constexpr int kMaxChain = 64;

// Runs on a system timer thread: it touches no state and only asks the main window for a tick.
void CALLBACK TimerCallback(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    PostMessageW(reinterpret_cast<HWND>(window), kMsgTick, 0, 0);
}

std::u16string ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return FromWide(name);
}

// The window under the point and its parents (owners for owned top-level windows), nearest first.
std::vector<HWND> ParentChainAt(POINT at) {
    std::vector<HWND> chain;
    for (HWND w = WindowFromPoint(at); w && chain.size() < kMaxChain; w = GetParent(w))
        chain.push_back(w);
    return chain;
}

// The class of the top-level ancestor of the window under the point: what the tick reads 10 times a second.
std::u16string TopLevelClassAt(POINT at) {
    HWND last = nullptr;
    int depth = 0;
    for (HWND w = WindowFromPoint(at); w && depth < kMaxChain; w = GetParent(w), ++depth)
        last = w;
    return last ? ClassNameOf(last) : std::u16string();
}

ButtonState ReadButton(int key) {
    const SHORT state = GetAsyncKeyState(key);
    return {(state & 0x8000) != 0, (state & 0x8001) != 0};
}

void SendMouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

} // namespace

VantrelMain::VantrelMain(MciDevice* cdDevice) : cdDevice_(cdDevice ? *cdDevice : systemCdDevice_) {}

VantrelMain::~VantrelMain() {
    FormClose();
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
        config::AnsiCodePageDecoder(), [this](const WriteFailure& failure) { ReportWriteFailure(failure); });
    ResidentServices services = Services();
    StartResident(state_, services, deviceLibrary_);
    // A failed write shows a message box while loading, whose message loop may have ended the program.
    if (closed_)
        return;

    launcher_ = std::make_unique<LauncherWindow>(
        LauncherServices{*this, system_, *icons_, helper_, &deviceLibrary_, &cdAudio_});
    if (!launcher_->Create(Handle()))
        launcher_.reset();
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

    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    AddTrayIcon();

    language_ = FromWide(LanguageAbbreviation());
    state_.JapaneseFlag = language_ == u"JPN";
    state_.MeiryoFlag = NeedsMeiryo(language_, helper_.IsWindows10());
    StartTimer();
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

void VantrelMain::AddTrayIcon() {
    // The small icon comes from our own file by number, the way the shell itself would find it, at the system's
    // small-icon size for the taskbar's (the primary) monitor: its own image of that size, not one scaled.
    const int size = SystemMetricAt(SM_CXSMICON, MonitorScale(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
    if (!trayIcon_ || size != trayIconSize_) {
        const int index = system_.WinVersion() < 1501 ? 7 : 0;
        if (const HICON small = ExtractSized(ModulePath().c_str(), index, size)) {
            trayIcon_.Reset(small);
            trayIconSize_ = size;
        }
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = trayIcon_.Get();
    wcscpy(data.szTip, kAppTitle);
    // After a shell restart the old icon is gone and adding it again is the whole recovery. The same
    // broadcast also comes while the icon still exists (Wine, a display change); the add then fails and
    // the icon is only refreshed, but it is still ours to remove at exit.
    trayIconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    if (trayIconAdded_) {
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    // Without the icon the program could only be ended from the task manager; the shell gives no sign when it
    // becomes ready, so the add is simply tried again.
    if (const uint32_t retryMs = trayIconRetry_.AfterAttempt(trayIconAdded_))
        SetTimer(Handle(), kTrayRetryTimerId, retryMs, nullptr);
    else
        ::KillTimer(Handle(), kTrayRetryTimerId);
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
    std::vector<PopupItem> items;
    for (const auto& entry : BuildTrayMenu(state_.Environments, dialogs_))
        items.push_back({entry.id, entry.caption, entry.enabled, entry.checked});
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    const HWND self = Handle();
    const uint32_t command = TrackPopup(self, items, at, TPM_NONOTIFY);
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
        DestroyWindow(Handle());
        break;
    default:
        // Entries of dialogs that are not part of this build are greyed and cannot arrive here.
        break;
    }
}

void VantrelMain::HideDialogs(int kind) {
    const ShowState::HidePlan plan = state_.HideDialogs(kind);
    if (plan.hideLauncher && launcher_)
        launcher_->Hide();
    // Hidden without handing the activation on: the caller is about to give it to the launcher or another
    // dialog, and an activation passed to the window below first (Wine does that on ShowWindow) would arrive
    // after theirs and leave the keyboard with a window in the background.
    for (const std::intptr_t window : plan.windows)
        SetWindowPos(ToHwnd(window), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    // The icon setting and delete dialogs always go. They are made anew for every opening, so a hidden one could
    // never come back: they are closed, which changes nothing.
    itemSetting_.reset();
    if (registration_)
        registration_->CloseChildren();
}

void VantrelMain::OpenRegistration() {
    if (!registration_ || closed_)
        return;
    HideDialogs(1);
    registration_->Open();
}

IconSettingDialog* VantrelMain::ItemSetting() const {
    return itemSetting_ && itemSetting_->Handle() ? itemSetting_.get() : nullptr;
}

void VantrelMain::OpenItemSetting(int32_t tray, int32_t index, const BoxBounds& launcherRect) {
    itemSetting_.reset();
    itemSetting_ = std::make_unique<IconSettingDialog>(static_cast<DialogHost&>(*this), nullptr);
    if (!itemSetting_->Open(nullptr, tray, index, true, {launcherRect}))
        itemSetting_.reset();
}

IconDialogFlags VantrelMain::IconFlags() {
    IconDialogFlags flags;
    flags.UsKeyboardFlag = state_.UsKeyboardFlag;
    flags.JapaneseFlag = state_.JapaneseFlag;
    flags.MeiryoFlag = state_.MeiryoFlag;
    flags.CdPlayerFlag = state_.CdPlayerFlag;
    flags.CdMode = state_.CdPlayerFlag ? static_cast<int32_t>(cdAudio_.CdGetMode()) : 0;
    return flags;
}

void VantrelMain::SyncDriveItems() {
    SyncDrives(state_.SystemList(), system_, *icons_);
}

void VantrelMain::SaveTrays(bool withOptions) {
    const int32_t file = state_.Environments.CurrentFileNumber();
    store_->WriteItems(file, ItemSection::Program, state_.ProgramList());
    ResidentServices services = Services();
    WriteSystemList(state_, services);
    if (withOptions)
        store_->WriteOption(file, state_.CurrentOption);
}

void VantrelMain::HideLauncher() {
    // The state first: hiding deactivates the window, which must then find nothing left to do.
    state_.ShowStatus = 0;
    if (launcher_)
        launcher_->Hide();
}

bool VantrelMain::RegisterLauncherHotKey(bool savedOptions) {
    return RegisterHotKeyOf(state_.CurrentOption, savedOptions);
}

void VantrelMain::HotKeyOn(const TOption& option) {
    RegisterHotKeyOf(option, false);
}

bool VantrelMain::RegisterHotKeyOf(const TOption& option, bool savedOptions) {
    quiet_.ForgetHold();
    if (RegisterHotKey(Handle(), kHotKeyId, static_cast<UINT>(option.VkMod), static_cast<UINT>(option.VkKey)))
        return true;
    // Another program owns the combination. The mouse triggers still work; the user learns it from a notice
    // that stops nothing (start-up goes on, triggers are not blocked while it is up).
    if (!notice_)
        notice_ = std::make_unique<NoticeDialog>();
    notice_->Show(HotKeyTakenText(option, savedOptions));
    return false;
}

void VantrelMain::UnregisterLauncherHotKey() {
    quiet_.ForgetHold();
    UnregisterHotKey(Handle(), kHotKeyId);
}

void VantrelMain::StartTimer() {
    timerId_ = timeSetEvent(kTickMs, kTickMs, &TimerCallback, reinterpret_cast<DWORD_PTR>(Handle()),
                            TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

void VantrelMain::KillTimer() {
    if (timerId_)
        timeKillEvent(timerId_);
    timerId_ = 0;
}

void VantrelMain::SetAllOption(const TOption& newOption) {
    UnregisterLauncherHotKey();
    state_.CurrentOption = newOption;
    RegisterLauncherHotKey(true);
    store_->WriteOption(state_.Environments.CurrentFileNumber(), state_.CurrentOption);
}

void VantrelMain::HotKey() {
    if (!launcher_)
        return;
    switch (OnHotKey(state_.ShowStatus, launcher_->CDPlayFlag(), state_.MessageFlag)) {
    case HotKeyAction::HideLauncher:
        HideLauncher();
        break;
    case HotKeyAction::ShowLauncher:
        // The hot key gives this thread the right to take the foreground, and the launcher takes it as it comes
        // up; making this hidden window the foreground first would only cost another window-system round trip.
        if (!quiet_.HotKeyShows(Handle(), kHotKeyId, state_.CurrentOption))
            break;
        HideDialogs(5);
        state_.ShowStatus = 1;
        launcher_->Show();
        break;
    case HotKeyAction::Nothing:
        break;
    }
}

void VantrelMain::Tick() {
    // The hot key given up over a program vantrel leaves alone comes back once another window is in front.
    if (quiet_.ResumeDue())
        RegisterLauncherHotKey();
    POINT pt{};
    GetCursorPos(&pt);
    const std::u16string ancestor = TopLevelClassAt(pt);
    const TOption& option = state_.CurrentOption;
    ButtonSample sample;
    bool sampled = false;
    if (PollingEnabled(option.MouseHookFlag, ancestor, system_.WinVersion())) {
        sample = {ReadButton(VK_LBUTTON), ReadButton(VK_RBUTTON), ReadButton(VK_MBUTTON)};
        sampled = true;
        // Over a full-screen program or one vantrel leaves alone the combination is left to the program, as it
        // came: no show and none of the mouse show's own clicks.
        if (PollMouseChord(chord_, option, system_.WinVersion(), ancestor, sample) &&
            (StartMouseShow(state_.ShowStatus, state_.MessageFlag) != MouseShowStart::Show ||
             quiet_.ChordShows(option)))
            MouseShow();
    }
    if (state_.ShowStatus != 2 || !launcher_ || closed_)
        return;

    const bool menuOpen = menuWatchCount_ < kMenuWatchTicks &&
                          (FindWindowW(L"TCustomActionPopupMenuEx", nullptr) || FindWindowW(L"#32768", nullptr));
    const MenuWatchStep step = WatchPopupMenu(menuWatchCount_, menuOpen);
    if (step.dismissMenu) {
        // The context menu underneath survived the dismissing click: the launcher takes the foreground from
        // it, on top of everything, with the mouse back where the combination was made.
        SetCursorPos(showPt_.x, showPt_.y);
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        ForceForeground(launcher_->Handle());
    }
    menuWatchCount_ = step.MenuWatchCount;

    // The position of this moment, not the tick's first one: a mouse show in this very tick may have moved the
    // mouse onto a window that had to be shifted from the screen's edge, and the still-held button would
    // otherwise hide it at once.
    GetCursorPos(&pt);
    const bool leftDown = sampled ? sample.left.isDown : (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    RECT r{};
    GetWindowRect(launcher_->Handle(), &r);
    if (HidesOnLeftPress(state_.ShowStatus, leftDown, {pt.x, pt.y}, {r.left, r.top, r.right, r.bottom},
                         launcher_->CDPlayFlag()))
        HideLauncher();
}

void VantrelMain::MouseShow() {
    if (!launcher_ || inMouseShow_)
        return;
    switch (StartMouseShow(state_.ShowStatus, state_.MessageFlag)) {
    case MouseShowStart::BringLauncherToFront:
        ForceForeground(launcher_->Handle());
        return;
    case MouseShowStart::Ignore:
        return;
    case MouseShowStart::Show:
        break;
    }
    inMouseShow_ = true;
    // The combination's right button is let go at once, so the window underneath finishes its right click.
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
    POINT pt{};
    GetCursorPos(&pt);
    std::vector<std::u16string> classes;
    for (HWND w : ParentChainAt(pt))
        classes.push_back(ClassNameOf(w));
    const DesktopWait wait = DesktopWalk(classes, state_.CurrentOption.WaitDesktop);
    if (wait.oldVersion) {
        ProcessPendingMessages();
        GetCursorPos(&pt);
        SetCursorPos(pt.x - 1, pt.y - 1);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        SetCursorPos(pt.x, pt.y);
    } else {
        if (wait.sleepMs > 0)
            Sleep(static_cast<DWORD>(wait.sleepMs));
        GetCursorPos(&pt);
        std::optional<ScreenRect> menu;
        RECT r{};
        if (const HWND popup = FindWindowW(L"#32768", nullptr); popup && GetWindowRect(popup, &r))
            menu = ScreenRect{r.left, r.top, r.right, r.bottom};
        showPt_ = pt;
        // A click one pixel beside the cursor closes the context menu the right button opened underneath.
        const ScreenPoint click = DismissClickPoint({pt.x, pt.y}, MenuBelow(menu, {pt.x, pt.y}));
        SetCursorPos(click.x, click.y);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        if (wait.delay)
            Sleep(kDismissHoldMs);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        SetCursorPos(pt.x, pt.y);
    }
    ProcessPendingMessages();
    inMouseShow_ = false;
    // The messages just run may have ended the program or shown the launcher another way.
    if (closed_ || !launcher_)
        return;
    ForceForeground(Handle());
    HideDialogs(5);
    state_.ShowStatus = 2;
    launcher_->Show();
}

void VantrelMain::ChangeEnvironment(int32_t slot) {
    ResidentServices services = Services();
    const auto result = ChangeMultiIni(state_, slot, services, *this);
    if (result.outcome == EnvironmentSwitch::MissingFile)
        ShowMessage(ToWide(result.message), MB_OK | MB_ICONERROR);
}

void VantrelMain::ShowHelp(int32_t topic) {
    const HelpFileChoice choice = ChooseHelpFile(FromWide(ModuleFolder()), language_, [](const std::u16string& path) {
        const DWORD attributes = GetFileAttributesW(WidePtr(path));
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
    if (choice.file.empty()) {
        ShowMessage(ToWide(HelpMissingText(choice.expected, choice.fallback)), MB_OK | MB_ICONWARNING);
        return;
    }
    // The system's viewer runs as a process of its own: a help window never holds up the resident program.
    const std::u16string arguments = HelpViewerArguments(choice.file, topic);
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(Handle(), L"open", L"hh.exe", WidePtr(arguments), nullptr, SW_SHOWNORMAL));
    if (started <= 32)
        ShowMessage(ToWide(HelpViewerFailureText(choice.file, FromWide(SystemErrorText(GetLastError())))),
                    MB_OK | MB_ICONWARNING);
}

void VantrelMain::ApplyEnvironments(const EnvironmentPlan& plan) {
    for (const EnvironmentFileFailure& failure : ApplyEnvironmentFiles(state_, plan, *store_, system_, *icons_))
        ShowMessage(ToWide(EnvironmentFileNotDeletedText(failure.path, failure.reason)), MB_OK | MB_ICONWARNING);
    ChangeEnvironment(plan.switchTo);
    WriteEnvironmentChoice(state_, *store_);
}

bool VantrelMain::IsAutoRun() {
    return win::IsAutoRun();
}

std::optional<std::u16string> VantrelMain::SetAutoRun(bool on) {
    std::wstring reason;
    if (win::SetAutoRun(on, &reason))
        return std::nullopt;
    return FromWide(reason);
}

void VantrelMain::ShowMessage(std::intptr_t owner, const std::u16string& text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Error     ? MB_ICONERROR
                      : kind == MessageKind::Warning ? MB_ICONWARNING
                                                     : MB_ICONINFORMATION;
    ShowMessage(ToWide(text), MB_OK | icon, ToHwnd(owner));
}

std::u16string VantrelMain::VersionText() {
    return FromWide(win::VersionText());
}

void VantrelMain::ReportWriteFailure(const WriteFailure& failure) {
    ShowMessage(ToWide(WriteFailureMessage(failure, store_->Location())), MB_OK | MB_ICONWARNING);
}

int VantrelMain::ShowMessage(const std::wstring& text, UINT flags, HWND owner) {
    // Triggers are ignored while a message box waits for the user.
    state_.BeginMessage();
    const int answer = MessageBoxW(owner ? owner : Handle(), text.c_str(), kAppTitle, flags | MB_SETFOREGROUND);
    state_.EndMessage();
    return answer;
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
    case WM_HOTKEY:
        HotKey();
        return 0;
    case WM_TIMER:
        if (wParam != kTrayRetryTimerId)
            return DefaultProc(message, wParam, lParam);
        if (!closed_)
            AddTrayIcon();
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // The primary monitor's DPI may have changed with the display: the icon follows the small-icon size.
        if (trayIconAdded_ && !closed_)
            AddTrayIcon();
        return DefaultProc(message, wParam, lParam);
    case WM_DEVICECHANGE:
        // Whatever changed, the USB drive list is rebuilt; without the library nothing happens.
        RefreshDeviceList(deviceLibrary_, state_.Devices);
        return TRUE;
    case WM_CLOSE:
        // How the installer and the uninstaller ask a running copy to end: the same road as "E&xit".
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        FormClose();
        PostQuitMessage(0);
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            AddTrayIcon();
        }
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
