#include "launcher/run_item.h"

#include "services/item_services.h"
#include "services/text.h"

namespace vantrel {

namespace {

constexpr std::u16string_view kCdPlayerKeyword = u"CD Player";

// Everything before the last backslash. A file in a drive's root gives the root itself ("C:\"), not the bare
// drive ("C:"), which would name that drive's current folder instead.
std::u16string FolderOf(const std::u16string& path) {
    const auto slash = path.rfind(u'\\');
    if (slash == std::u16string::npos)
        return {};
    std::u16string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == u':')
        folder += u'\\';
    return folder;
}

void EndShow(RunContext& c) {
    if (c.tasks.showStatus != 0) {
        c.tasks.showStatus = 0;
        c.tasks.view.HideLauncher();
    }
}

void HideNow(RunContext& c) {
    c.tasks.showStatus = 0;
    c.tasks.view.HideLauncher();
}

// The shell shows its shut-down dialog when its desktop window is asked to close.
void ShowShutDownDialog(RunContext& c) {
    HideNow(c);
    ShellExecutor& shell = c.shell;
    shell.SetForeground(shell.DesktopWindow());
    shell.ProcessPendingMessages();
    if (const std::intptr_t progman = shell.FindTopWindow(u"ProgMan", u"Program Manager"))
        shell.Post(progman, kWmClose, 0, 0);
}

// A click on the taskbar's first child (the Start button) opens the Start menu; "P" then goes to its
// program list.
void OpenStartMenu(RunContext& c) {
    ShellExecutor& shell = c.shell;
    const std::intptr_t taskbar = shell.FindTopWindow(u"Shell_TrayWnd", u"");
    const std::intptr_t button = taskbar ? shell.FirstChild(taskbar) : 0;
    if (taskbar)
        shell.SetForeground(taskbar);
    if (button)
        shell.Post(button, kWmLButtonDown, 0, 0);
    const uint32_t start = shell.TickCount();
    for (;;) {
        if (taskbar != 0 && shell.ForegroundWindow() == taskbar)
            break;
        if (shell.TickCount() - start > kStartMenuWaitTicks)
            break;
        shell.Sleep(1);
    }
    shell.Sleep(kStartMenuSettleMs);
    if (button)
        shell.Post(button, kWmKeyDown, 'P', 0);
}

void Suspend(RunContext& c, const RData& item) {
    c.tasks.view.ShowNameNow(item.Title);
    HideNow(c);
    c.shell.Suspend();
}

// An item without a folder (a bare program name, a URL) would start in the folder vantrel was started from, such
// as Downloads for a portable copy, where the program would look for its libraries first. It starts in the user's
// profile instead, as a new command prompt does, or in the system folder when there is no profile.
std::u16string FolderWithoutItsOwn(const SystemQueries& system) {
    const std::u16string profile = system.ExpandEnvironment(u"%USERPROFILE%");
    return profile.empty() || profile.front() == u'%' ? system.SystemDirectory() : profile;
}

} // namespace

ExecuteRequest StartProgramRequest(const RData& item, bool runas, const SystemQueries& system) {
    ExecuteRequest request;
    const std::u16string folder = item.DirectoryName.empty() ? FolderOf(item.ExeFileName) : item.DirectoryName;
    request.folder = system.ExpandEnvironment(folder);
    if (request.folder.empty())
        request.folder = FolderWithoutItsOwn(system);
    request.file = item.ExeFileName;
    request.parameters = item.ArgumentName;
    if (item.RunasFlag || (runas && IsRunasCandidate(item))) {
        // An elevated process gets no owner window: the consent prompt must not hang on the launcher.
        request.owner = ExecuteRequest::Owner::None;
        request.verb = u"runas";
    } else {
        request.owner = ExecuteRequest::Owner::MainWindow;
    }
    return request;
}

void RunSpecialItem(RunContext& c, const RData& item) {
    const std::u16string& keyword = item.ExeFileName;
    if (keyword == u"Exit") {
        ShowShutDownDialog(c);
    } else if (keyword == u"Start Menu") {
        OpenStartMenu(c);
    } else if (keyword == u"Suspend") {
        Suspend(c, item);
    } else if (EqualsNoCase(keyword, kCdPlayerKeyword)) {
        // Letter case as the CD player is recognised everywhere else (its device is opened for it).
        c.tasks.view.SetCdPlayFlag(true);
        c.shell.Cd(CdCommand::Toggle);
        c.tasks.view.SetCdPlayFlag(false);
    } else if (keyword == u"ms-settings:") {
        ExecuteRequest request;
        request.file = keyword;
        c.shell.Execute(request);
    } else {
        // Unknown keywords open the desktop (folder id 0).
        c.shell.OpenSpecialFolder(SpecialFolderId(keyword));
    }
}

void RunItem(RunContext& c, int32_t tray, int32_t index, bool runas) {
    if (!IsShownCell(c.tasks.trays, tray, index))
        return;
    // A copy: the commands below may hide the window and let messages run, which could rebuild a list.
    const RData item = c.tasks.trays[static_cast<std::size_t>(tray)].Items[static_cast<std::size_t>(index)];
    if (tray == TaskTray)
        ActivateTask(c.tasks.ops, item.WinHandle);
    else if (item.Status & StatusSpecial)
        RunSpecialItem(c, item);
    else
        c.shell.Execute(StartProgramRequest(item, runas, c.system));
    EndShow(c);
}

void PerformAction(RunContext& c, const NavAction& action) {
    switch (action.kind) {
    case NavActionKind::None:
    case NavActionKind::ShowMenu:
        break;
    case NavActionKind::RunItem:
        RunItem(c, action.tray, action.index, action.runas);
        break;
    case NavActionKind::IconizeTask:
        IconizeTask(c.tasks, action.tray, action.index, action.maximize, action.force);
        break;
    case NavActionKind::CloseTask:
        CloseTask(c.tasks, action.tray, action.index);
        break;
    case NavActionKind::AllTasks:
        AllTasks(c.tasks, action.close);
        break;
    case NavActionKind::Hide:
        HideNow(c);
        break;
    }
}

} // namespace vantrel
