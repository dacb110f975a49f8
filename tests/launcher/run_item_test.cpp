#include "launcher/run_item.h"

#include <gtest/gtest.h>

#include "launcher/item_menu.h"
#include "launcher/nav_fakes.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;
using Owner = ExecuteRequest::Owner;

RData Item(std::u16string exe, int32_t status = 0, std::u16string folder = u"", bool runasFlag = false) {
    return {.Status = status,
            .Title = u"Sleep now",
            .ExeFileName = std::move(exe),
            .ArgumentName = u"-x \"%TEMP%\\a b\"",
            .DirectoryName = std::move(folder),
            .RunasFlag = runasFlag};
}

TEST(StartProgramRequest, VerbOwnerAndFolder) {
    FakeSystem system;
    system.environment[u"USERPROFILE"] = u"C:\\Users\\me";
    struct Case {
        const char* what;
        RData item;
        bool runas;
        Owner owner; // None: elevated
        std::u16string folder;
    };
    const Case cases[] = {
        {"a program", Item(u"C:\\Tools\\tool.exe"), false, Owner::MainWindow, u"C:\\Tools"},
        {"a program asked to elevate", Item(u"C:\\Tools\\tool.exe"), true, Owner::None, u"C:\\Tools"},
        {"a batch file in a root asked to elevate", Item(u"D:\\x.BAT"), true, Owner::None, u"D:\\"},
        {"a document asked to elevate opens normally", Item(u"C:\\a.txt"), true, Owner::MainWindow, u"C:\\"},
        {"a document that always runs elevated", Item(u"C:\\a.txt", 0, u"", true), false, Owner::None, u"C:\\"},
        {"the working folder is expanded", Item(u"C:\\t.exe", 0, u"%TEMP%"), 0, Owner::MainWindow,
         u"C:\\Users\\me\\Temp"},
        {"a bare file name starts in the profile", Item(u"notepad.exe"), false, Owner::MainWindow, u"C:\\Users\\me"},
        {"so does a URL", Item(u"https://example.org/a"), false, Owner::MainWindow, u"C:\\Users\\me"},
        {"a drive is never elevated", Item(u"C:\\", StatusSystem), true, Owner::MainWindow, u"C:\\"},
        {"the command prompt may be", Item(u"C:\\W\\CMD.EXE", StatusSystem), true, Owner::None, u"C:\\W"},
        {"no other built-in program", Item(u"C:\\t.exe", StatusSystem), true, Owner::MainWindow, u"C:\\"},
    };
    for (const Case& c : cases) {
        const ExecuteRequest r = StartProgramRequest(c.item, c.runas, system);
        EXPECT_EQ(r, (ExecuteRequest{c.owner, c.owner == Owner::None ? u"runas" : u"", c.item.ExeFileName,
                                     c.item.ArgumentName, c.folder, 5}))
            << c.what;
    }
    system.environment.erase(u"USERPROFILE");
    EXPECT_EQ(StartProgramRequest(Item(u"notepad.exe"), false, system).folder, system.systemDirectory)
        << "without a profile, the system folder";
}

// Which ways of running an item ask for elevation, with and without AltDisableFlag.
TEST(RunItem, ElevationRequestBySource) {
    enum Source { AltClick, AltEnter, AltDirectKey, MenuRunas, Click };
    const std::tuple<Source, bool, bool> cases[] = {
        {AltClick, false, true},  {AltClick, true, true},      {AltEnter, false, true},
        {AltEnter, true, false},  {AltDirectKey, false, true}, {AltDirectKey, true, false},
        {MenuRunas, false, true}, {MenuRunas, true, true},     {Click, false, false},
    };
    for (const auto& [source, altDisable, elevated] : cases) {
        LauncherRig rig;
        rig.trays[ProgramTray].Items = {Item(u"C:\\first.exe"), Item(u"C:\\tool.exe", 'T' << 8)};
        rig.option.AltDisableFlag = altDisable;
        SetLayout(rig.window, rig.trays, 7, 15);
        rig.trays[ProgramTray].NowIndex = source == AltDirectKey ? 0 : 1;
        NavigationState nav;
        Navigation n{rig.trays, rig.window, nav, rig.option, rig.showStatus, true};
        NavResult r;
        if (source == AltClick || source == Click)
            r = OnMouseDown(n, ProgramTray, 60, 20, MouseButton::Left, false, false, source == AltClick, 100);
        else if (source == MenuRunas)
            PerformMenuCommand(rig.run, MenuEntryId::Runas, {});
        else
            r = OnKeyDown(n, source == AltEnter ? vk::kReturn : 'T', false, false, true);
        PerformAction(rig.run, r.action);
        ASSERT_EQ(rig.shell.executed.size(), 1u) << source;
        EXPECT_EQ(rig.shell.executed[0].file, u"C:\\tool.exe");
        EXPECT_EQ(rig.shell.executed[0].verb, elevated ? u"runas" : u"") << source << " " << altDisable;
    }
}

TEST(RunItem, RunsShownItemsOnlyAndEndsTheShow) {
    LauncherRig rig;
    rig.trays[ProgramTray].Items = {Item(u"C:\\a.exe"), Item(u"C:\\hidden.exe", StatusNotUsed)};
    for (const auto& [tray, index] : {std::pair{0, -1}, {0, 1}, {0, 2}, {3, 0}})
        RunItem(rig.run, tray, index, false);
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.showStatus, 1);
    RunItem(rig.run, ProgramTray, 0, false);
    EXPECT_EQ(rig.log, (Log{"execute  C:\\a.exe", "hide"}));
    EXPECT_EQ(rig.showStatus, 0);
}

TEST(RunItem, TaskItemsAreActivated) {
    struct Case {
        const char* what;
        bool iconic;
        std::u16string className;
        int pollsUntilForeground;
        Log want;
    };
    const Log tenPolls(10, "sleep 100");
    Log never = {"fg 1"};
    never.insert(never.end(), tenPolls.begin(), tenPolls.end());
    never.insert(never.end(), {"restore 1", "fg 1", "hide"});
    const Case cases[] = {
        {"a window in the background", false, u"App", 0, {"fg 1", "hide"}},
        {"a minimised window is restored first", true, u"App", 0, {"restore 1", "fg 1", "hide"}},
        {"a minimised console waits", true, u"tty", 2, {"fg 1", "sleep 100", "restore 1", "fg 1", "hide"}},
        {"... ten times at most", true, u"tty", 50, never},
        {"only the class tty counts", true, u"ttyx", 0, {"restore 1", "fg 1", "hide"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.ShowTasks({Close::OnSysCommand});
        rig.ops.zOrder[0].iconic = c.iconic;
        rig.ops.zOrder[0].className = c.className;
        rig.ops.foregroundAfterPolls = c.pollsUntilForeground;
        RunItem(rig.run, TaskTray, 0, true);
        EXPECT_EQ(rig.log, c.want) << c.what;
    }
}

TEST(RunSpecialItem, KeywordsRunTheirCommands) {
    const std::pair<std::u16string, Log> cases[] = {
        {u"DeskTop", {"folder 0", "hide"}},
        {u"MyComputer", {"folder 17", "hide"}},
        {u"DustBox", {"folder 10", "hide"}},
        {u"desktop", {"folder 0", "hide"}}, // keywords are exact: an unknown one opens the desktop
        {u"ms-settings:", {"execute  ms-settings:", "hide"}},
        {u"cd player", {"cd-flag on", "cd 0", "cd-flag off", "hide"}},
        {u"Suspend", {"name Sleep now", "hide", "suspend"}},
        {u"Exit", {"hide", "fg 1", "pump"}},
    };
    for (const auto& [keyword, want] : cases) {
        LauncherRig rig;
        rig.trays[SystemTray].Items = {Item(keyword, StatusSystem | StatusSpecial)};
        RunItem(rig.run, SystemTray, 0, true);
        EXPECT_EQ(rig.log, want) << Utf16ToUtf8(keyword);
        EXPECT_EQ(rig.showStatus, 0);
        if (keyword == u"ms-settings:") {
            EXPECT_EQ(rig.shell.executed[0], (ExecuteRequest{Owner::MainWindow, u"", u"ms-settings:", u"", u"", 5}));
        }
    }
}

TEST(RunSpecialItem, ShellWindowsTheCommandsPostTo) {
    struct Case {
        std::u16string keyword;
        std::map<std::u16string, std::intptr_t> windows;
        bool taskbarTakesForeground;
        Log want;
    };
    const Case cases[] = {
        {u"Exit", {{u"ProgMan", 40}}, true, {"hide", "fg 1", "pump", "post 40 16 0"}},
        {u"Start Menu",
         {{u"Shell_TrayWnd", 50}},
         true,
         {"fg 50", "post 51 513 0", "sleep 100", "post 51 256 80", "hide"}},
        // The wait for the taskbar ends once the tick count has passed its start + 2.
        {u"Start Menu",
         {{u"Shell_TrayWnd", 50}},
         false,
         {"fg 50", "post 51 513 0", "sleep 1", "sleep 1", "sleep 1", "sleep 100", "post 51 256 80", "hide"}},
        {u"Start Menu", {}, true, {"sleep 1", "sleep 1", "sleep 1", "sleep 100", "hide"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.shell.windows = c.windows;
        rig.shell.follows = c.taskbarTakesForeground;
        rig.trays[SystemTray].Items = {Item(c.keyword, StatusSystem | StatusSpecial)};
        RunItem(rig.run, SystemTray, 0, false);
        EXPECT_EQ(rig.log, c.want) << Utf16ToUtf8(c.keyword);
    }
}

} // namespace
} // namespace vantrel
