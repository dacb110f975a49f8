#pragma once
// The hidden main window: owner of the notification-area icon and its menu, and the hub every trigger and
// system notification reaches.

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "app/quiet_triggers_win.h"
#include "app/resident.h"
#include "app/tray_menu.h"
#include "app/trigger.h"
#include "config/settings_store.h"
#include "dialogs/dialog_host.h"
#include "launcher/launcher_host.h"
#include "services/cd_audio.h"
#include "services/cd_device_win.h"
#include "services/device_library_win.h"
#include "services/helper_library_win.h"
#include "services/system_win.h"
#include "win/title_bar_win.h"
#include "win/unique_handle_win.h"
#include "win/window_win.h"

namespace vantrel::config {
class SettingsFileSystem;
}

namespace vantrel::win {

class LauncherWindow;
class OptionDialog;
class RegistrationDialog;
class IconSettingDialog;
class EnvironmentSelectionDialog;
class AboutDialog;
class NoticeDialog;

// Private messages of the main window.
constexpr UINT kMsgTrayIcon = 0x8001;    // notification-area icon callback
constexpr UINT kMsgCommand = 0x8002;     // wParam: 0 mouse show, 1/2 hot key off/on, 3 icon registration
constexpr UINT kMsgTick = 0x8003;        // one poll of the mouse-combination detector
constexpr UINT kMsgFinishStart = 0x8004; // the start's remainder, posted to itself once the tray icon is up

class VantrelMain : public Window, private LauncherHost, private HotKeyRegistration, private DialogHost {
public:
    // The CD player item's device is the system's CD audio device unless a test hands in one of its own.
    explicit VantrelMain(MciDevice* cdDevice = nullptr);
    ~VantrelMain() override;

    // Creates the window and runs the start-up sequence; false when the window cannot be created.
    bool Start();
    // The program's message loop, until the program has ended; the exit code. An end asked for while a handler
    // is still running (a message box, a menu, a dialog, any wait that answers messages) is carried out here,
    // between two messages, where no handler is left to use what the end frees.
    int Run();

    const ResidentState& State() const { return state_; }
    LauncherWindow* Launcher() const { return launcher_.get(); }

    // The option dialog's OK: new options, the hot key registered again from them, and written to the file.
    void SetAllOption(const TOption& newOption) override;

    // A command of the tray menu, as if chosen there.
    void RunTrayCommand(uint32_t command);

    // The settings dialogs (null before start-up and after the end).
    OptionDialog* Options() const { return optionDialog_.get(); }
    EnvironmentSelectionDialog* Selection() const { return selectionDialog_.get(); }
    AboutDialog* About() const { return aboutDialog_.get(); }
    RegistrationDialog* Registration() const { return registration_.get(); }

    // Makes environment slot 1..5 current (the tray menu's environment entries); a slot whose file is gone is
    // refused with a message.
    void ChangeEnvironment(int32_t slot);
    // Title bars dark when the launcher's scheme is: read again at the start, on every setting change of the
    // system and whenever the options change.
    void UpdateTitleBars();

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // LauncherHost: the launcher window works on the resident state.
    std::array<TrayEntry, 3>& Trays() override { return state_.TrayData; }
    const TOption& Option() const override { return state_.CurrentOption; }
    LauncherFlags Flags() const override { return {state_.UsKeyboardFlag, state_.CdPlayerFlag, state_.MeiryoFlag}; }
    const DeviceList& Devices() const override { return state_.Devices; }
    int32_t& ShowStatus() override { return state_.ShowStatus; }
    void LauncherShown() override { menuWatchCount_ = 0; }
    void LauncherMenuOpened() override { menuWatchCount_ = kMenuWatchTicks; }
    int32_t CdMode() override { return static_cast<int32_t>(cdAudio_.CdGetMode()); }
    void OpenItemSetting(int32_t tray, int32_t index, const BoxBounds& launcherRect) override;
    // "Stop all USB drives", from the tray menu or the launcher's popup menu.
    void StopAllUsbDrives() override;

    // DialogHost: the settings dialogs work on the resident state.
    const TOption& CurrentOption() const override { return state_.CurrentOption; }
    const EnvironmentList& Environments() const override { return state_.Environments; }
    void ApplyEnvironments(const EnvironmentPlan& plan) override;
    bool IsAutoRun() override;
    std::optional<std::u16string> SetAutoRun(bool on) override;
    void ShowMessage(std::intptr_t owner, const std::u16string& text, MessageKind kind) override;
    void BeginModal() override { state_.BeginMessage(); }
    void EndModal() override { state_.EndMessage(); }
    void ShowHelp(int32_t topic) override;
    void DialogCreated(DialogKind kind, std::intptr_t window) override { state_.DialogCreated(kind, window); }
    void DialogDestroyed(std::intptr_t window) override { state_.DialogDestroyed(window); }
    bool IsNtPlatform() const override { return system_.IsNtPlatform(); }
    std::u16string VersionText() override;
    // The icon dialogs edit the trays in use; Trays() serves them and the launcher alike.
    IconSource& Icons() override { return *icons_; }
    const SystemQueries& System() const override { return system_; }
    IconDialogFlags IconFlags() override;
    void SetColumns(int32_t colMax) override { state_.CurrentOption.ColMax = colMax; }
    void SyncDriveItems() override;
    void SaveTrays(bool withOptions) override;

    // 0x8002 with wParam 3: the icon registration dialog, with copies of the trays kept for its Cancel.
    void OpenRegistration();
    // What the start leaves until the tray icon is up (kMsgFinishStart): the launcher window, the tray icon's newer
    // callbacks, the mouse combination's timer, the items' icons and the USB drives. Once; whatever needs them (a
    // trigger, the registration dialog) calls it first.
    void FinishStartNow();

    void FormCreate();
    void FormClose();
    // "E&xit", and WM_CLOSE from the installer: remembered, and carried out by Run.
    void RequestClose();
    // The session ends: the system ends the process as soon as the notice has been answered.
    void EndSession();
    void AddTrayIcon();
    void SetTrayIconVersion();
    void DeleteTrayIcon();
    void TrayIconCallback(WPARAM wParam, LPARAM lParam);
    void ShowTrayMenu(POINT at);
    void HideDialogs(int kind);
    ResidentServices Services() { return {*store_, system_, *icons_, cdAudio_}; }
    void ReportSettingsFailure(const SettingsFailure& failure);
    int ShowMessage(const std::wstring& text, UINT flags, HWND owner = nullptr);

    // False when another program holds the combination; the user is told without being stopped (savedOptions:
    // the combination was just saved by the option dialog).
    bool RegisterLauncherHotKey(bool savedOptions = false);
    void UnregisterLauncherHotKey();
    bool RegisterHotKeyOf(const TOption& option, bool savedOptions);
    // HotKeyRegistration: the environment switch turns the hot key off and on again.
    void HotKeyOff() override { UnregisterLauncherHotKey(); }
    void HotKeyOn(const TOption& option) override;
    void StartTimer();
    void KillTimer();
    void HotKey();
    void Tick();
    void MouseShow();
    void HideLauncher();

    // First: the windows made from here on are seen as they are made.
    TitleBarTheme titleBars_;
    Win32SystemQueries system_;
    std::unique_ptr<Win32IconSource> icons_;
    HelperLibrary helper_;
    DeviceLibrary deviceLibrary_{system_.WinVersion()};
    // The CD player item's device; between play attempts the user interface keeps running.
    Win32MciDevice systemCdDevice_;
    MciDevice& cdDevice_;
    Win32CdClock cdClock_{[] { ProcessPendingMessages(); }};
    CdAudio cdAudio_{cdDevice_, cdClock_};
    std::unique_ptr<config::SettingsFileSystem> files_;
    std::unique_ptr<SettingsStore> store_;
    ResidentState state_;
    TrayIconInput trayInput_;
    DialogAvailability dialogs_;
    UniqueIcon trayIcon_;
    int trayIconSize_ = 0;
    UINT taskbarCreated_ = 0;
    bool trayIconAdded_ = false;
    TrayIconRetry trayIconRetry_;
    bool closed_ = false;
    bool started_ = false; // FinishStartNow has run
    bool closeRequested_ = false;
    std::u16string language_; // the user interface's language abbreviation, which picks the help file

    static constexpr wchar_t kAppTitle[] = L"vantrel";
    static constexpr UINT_PTR kTrayRetryTimerId = 1;
    // The kept dialogs' windows are made one per tick once the start has finished, while nothing is on screen.
    static constexpr UINT_PTR kPrepareTimerId = 2;
    static constexpr UINT kPrepareEveryMs = 500;
    void PrepareNextDialog();

    std::unique_ptr<OptionDialog> optionDialog_;
    std::unique_ptr<EnvironmentSelectionDialog> selectionDialog_;
    std::unique_ptr<AboutDialog> aboutDialog_;
    std::unique_ptr<NoticeDialog> notice_;
    std::unique_ptr<RegistrationDialog> registration_;
    std::unique_ptr<IconSettingDialog> itemSetting_;

    std::unique_ptr<LauncherWindow> launcher_;
    UINT timerId_ = 0;   // the 100 ms multimedia timer
    ChordFlags chord_;   // LeftFlag, RightFlag, MiddleFlag of the last polled tick
    POINT showPt_{0, 0}; // the cursor when a mouse combination showed the launcher
    int32_t menuWatchCount_ = 0;
    bool inMouseShow_ = false; // the mouse show lets messages run; a tick then must not start another
    QuietTriggers quiet_;      // full-screen programs and the programs vantrel leaves alone
};

} // namespace vantrel::win
