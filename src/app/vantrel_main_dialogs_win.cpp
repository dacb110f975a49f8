// The hidden main window as the settings dialogs' host: opening and hiding them, saving what they change,
// environments, help and the messages the program shows.

#include "app/vantrel_main_win.h"

#include <shellapi.h>

#include "app/environment_change.h"
#include "app/help_choice.h"
#include "config/system_items.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/registration_dialog_win.h"
#include "launcher/launcher_window_win.h"
#include "services/grid_colours_win.h"
#include "services/os_info_win.h"
#include "win/strings_win.h"
#include "win/system_library_win.h"

namespace vantrel::win {

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
    FinishStartNow();
    registration_->Open();
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
    // After the end the trays are empty: nothing may be written from them.
    if (closed_)
        return;
    ResidentServices services = Services();
    vantrel::SaveTrays(state_, services, withOptions);
}

void VantrelMain::ChangeEnvironment(int32_t slot) {
    ResidentServices services = Services();
    const auto result = ChangeMultiIni(state_, slot, services, *this);
    UpdateTitleBars();
    if (result.outcome == EnvironmentSwitch::MissingFile)
        ShowMessage(ToWide(result.message), MB_OK | MB_ICONERROR);
}

void VantrelMain::UpdateTitleBars() {
    const GridScheme scheme = ChooseGridScheme(ReadHighContrast(), ReadAppsDark(), state_.CurrentOption.ColorScheme);
    titleBars_.SetDark(scheme == GridScheme::Dark);
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
    // By its full path: by name, a program of that name in a folder searched first (the current one) could start.
    const std::wstring viewer = WindowsFolder() + L"\\hh.exe";
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(Handle(), L"open", viewer.c_str(), WidePtr(arguments), nullptr, SW_SHOWNORMAL));
    if (started <= 32)
        ShowMessage(ToWide(HelpViewerFailureText(choice.file, FromWide(SystemErrorText(GetLastError())))),
                    MB_OK | MB_ICONWARNING);
}

void VantrelMain::ApplyEnvironments(const EnvironmentPlan& plan) {
    const auto notDeleted = ApplyEnvironmentFiles(state_, plan, *store_, system_, *icons_);
    if (!notDeleted)
        return;
    for (const EnvironmentFileFailure& failure : *notDeleted)
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

int VantrelMain::ShowMessage(const std::wstring& text, UINT flags, HWND owner) {
    // Triggers are ignored while a message box waits for the user.
    state_.BeginMessage();
    const int answer = MessageBoxW(owner ? owner : Handle(), text.c_str(), kAppTitle, flags | MB_SETFOREGROUND);
    state_.EndMessage();
    return answer;
}

std::u16string VantrelMain::VersionText() {
    return FromWide(win::VersionText());
}

void VantrelMain::ReportSettingsFailure(const SettingsFailure& failure) {
    ShowMessage(ToWide(SettingsFailureMessage(failure, store_->Location())), MB_OK | MB_ICONWARNING);
}

} // namespace vantrel::win
