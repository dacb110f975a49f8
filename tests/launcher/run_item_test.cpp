#include "launcher/run_item.h"

#include <gtest/gtest.h>

#include "launcher/item_menu.h"
#include "launcher/nav_fakes.h"

namespace vantrel {
namespace {

using testing::FakeSystem;
using testing::LauncherRig;
using testing::Log;
using Owner = ExecuteRequest::Owner;

RData Program(std::u16string exe, std::u16string folder = u"", bool runasFlag = false) {
    RData item;
    item.Title = u"item";
    item.ExeFileName = std::move(exe);
    item.DirectoryName = std::move(folder);
    item.ArgumentName = u"-x \"%TEMP%\\a b\"";
    item.RunasFlag = runasFlag;
    return item;
}

RData Keyword(std::u16string keyword, std::u16string title = u"keyword") {
    RData item;
    item.Title = std::move(title);
    item.ExeFileName = std::move(keyword);
    item.Status = StatusSystem | StatusSpecial;
    return item;
}

TEST(StartProgramRequest, VerbOwnerAndFolder) {
    FakeSystem system;
    RData drive = Program(u"C:\\");
    drive.Status = StatusSystem;
    RData prompt = Program(u"C:\\Windows\\system32\\CMD.EXE");
    prompt.Status = StatusSystem;
    RData systemExe = Program(u"C:\\Tools\\tool.exe");
    systemExe.Status = StatusSystem;
    struct Case {
        const char* what;
        RData item;
        bool runas;
        std::u16string verb;
        Owner owner;
        std::u16string folder;
    };
    const Case cases[] = {
        {"a program", Program(u"C:\\Tools\\tool.exe"), false, u"", Owner::MainWindow, u"C:\\Tools"},
        {"a program asked to elevate", Program(u"C:\\Tools\\tool.exe"), true, u"runas", Owner::None, u"C:\\Tools"},
        {"a batch file asked to elevate", Program(u"D:\\x.BAT"), true, u"runas", Owner::None, u"D:\\"},
        {"a document asked to elevate opens normally", Program(u"C:\\Docs\\a.txt"), true, u"", Owner::MainWindow,
         u"C:\\Docs"},
        {"a document that always runs elevated", Program(u"C:\\Docs\\a.txt", u"", true), false, u"runas", Owner::None,
         u"C:\\Docs"},
        {"the working folder's variables are expanded", Program(u"C:\\Tools\\tool.exe", u"%TEMP%"), false, u"",
         Owner::MainWindow, u"C:\\Users\\me\\Temp"},
        {"a file in a drive's root starts in the root", Program(u"C:\\tool.exe"), false, u"", Owner::MainWindow,
         u"C:\\"},
        {"a bare file name has no folder", Program(u"notepad.exe"), false, u"", Owner::MainWindow, u""},
        {"a drive opens in its root, never elevated", drive, true, u"", Owner::MainWindow, u"C:\\"},
        {"the command prompt may be elevated", prompt, true, u"runas", Owner::None, u"C:\\Windows\\system32"},
        {"a built-in item elevates only the command prompt", systemExe, true, u"", Owner::MainWindow, u"C:\\Tools"},
    };
    for (const Case& c : cases) {
        const ExecuteRequest r = StartProgramRequest(c.item, c.runas, system);
        EXPECT_EQ(r.verb, c.verb) << c.what;
        EXPECT_EQ(r.owner, c.owner) << c.what;
        EXPECT_EQ(r.folder, c.folder) << c.what;
        EXPECT_EQ(r.file, c.item.ExeFileName) << c.what;
        EXPECT_EQ(r.parameters, c.item.ArgumentName) << c.what << ": parameters are passed as stored";
        EXPECT_EQ(r.show, 5) << c.what;
    }
}

// Which ways of running an item ask for elevation, with and without AltDisableFlag.
TEST(RunItem, ElevationRequestBySource) {
    enum class Source { AltClick, AltEnter, AltDirectKey, MenuRunas, Click, Enter };
    struct Case {
        Source source;
        bool altDisable;
        bool elevated;
    };
    const Case cases[] = {
        {Source::AltClick, false, true},  {Source::AltClick, true, true},      {Source::AltEnter, false, true},
        {Source::AltEnter, true, false},  {Source::AltDirectKey, false, true}, {Source::AltDirectKey, true, false},
        {Source::MenuRunas, false, true}, {Source::MenuRunas, true, true},     {Source::Click, false, false},
        {Source::Enter, false, false},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        RData tool = Program(u"C:\\Tools\\tool.exe");
        tool.Status = 'T' << 8;
        rig.trays[ProgramTray].Items = {Program(u"C:\\first.exe"), tool};
        rig.option.AltDisableFlag = c.altDisable;
        SetLayout(rig.window, rig.trays, 7, 15);
        rig.trays[ProgramTray].NowIndex = 1;
        NavigationState nav;
        nav.ShowTime = 0;
        Navigation n{rig.trays, rig.window, nav, rig.option, rig.showStatus, true};
        NavResult result;
        switch (c.source) {
        case Source::AltClick:
        case Source::Click:
            result =
                OnMouseDown(n, ProgramTray, 60, 20, MouseButton::Left, false, false, c.source == Source::AltClick, 100);
            break;
        case Source::AltEnter:
        case Source::Enter:
            result = OnKeyDown(n, vk::kReturn, false, false, c.source == Source::AltEnter);
            break;
        case Source::AltDirectKey:
            rig.trays[ProgramTray].NowIndex = 0;
            result = OnKeyDown(n, 'T', false, false, true);
            break;
        case Source::MenuRunas:
            PerformMenuCommand(rig.run, MenuEntryId::Runas, {});
            break;
        }
        PerformAction(rig.run, result.action);
        ASSERT_EQ(rig.shell.executed.size(), 1u) << static_cast<int>(c.source);
        EXPECT_EQ(rig.shell.executed[0].file, u"C:\\Tools\\tool.exe");
        EXPECT_EQ(rig.shell.executed[0].verb, c.elevated ? u"runas" : u"")
            << static_cast<int>(c.source) << " " << c.altDisable;
    }
}

TEST(RunItem, RunsShownItemsOnlyAndEndsTheShow) {
    LauncherRig rig;
    RData hidden = Program(u"C:\\hidden.exe");
    hidden.Status = StatusNotUsed;
    rig.trays[ProgramTray].Items = {Program(u"C:\\a.exe"), hidden};
    for (int32_t index : {-1, 1, 2}) {
        RunItem(rig.run, ProgramTray, index, false);
        EXPECT_TRUE(rig.log.empty()) << index;
        EXPECT_EQ(rig.showStatus, 1);
    }
    RunItem(rig.run, 3, 0, false);
    EXPECT_TRUE(rig.log.empty());
    RunItem(rig.run, ProgramTray, 0, false);
    EXPECT_EQ(rig.log, (Log{"execute  C:\\a.exe", "hide"}));
    EXPECT_EQ(rig.showStatus, 0);
}

TEST(RunItem, TaskItemsAreActivated) {
    struct Case {
        const char* what;
        bool iconic;
        std::u16string className;
        int foregroundDelay;
        Log want;
    };
    const Case cases[] = {
        {"a window in the background", false, u"App", 0, {"foreground 11", "hide"}},
        {"a minimised window is restored first", true, u"App", 0, {"restore 11", "foreground 11", "hide"}},
        {"a minimised console waits for the foreground, then is restored",
         true,
         u"tty",
         2,
         {"foreground 11", "sleep 100", "restore 11", "foreground 11", "hide"}},
        {"a console that never takes the foreground is waited for ten times",
         true,
         u"tty",
         50,
         {"foreground 11", "sleep 100", "sleep 100", "sleep 100", "sleep 100", "sleep 100", "sleep 100", "sleep 100",
          "sleep 100", "sleep 100", "sleep 100", "restore 11", "foreground 11", "hide"}},
        {"only the class tty counts", true, u"ttyx", 0, {"restore 11", "foreground 11", "hide"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.ops.Add(10, u"top");
        rig.ops.Add(11, u"other");
        rig.ops.Find(11)->iconic = c.iconic;
        rig.ops.Find(11)->className = c.className;
        rig.ops.foregroundDelay = c.foregroundDelay;
        rig.ShowTasks();
        ASSERT_EQ(rig.TaskAt(0).WinHandle, 11);
        RunItem(rig.run, TaskTray, 0, true);
        EXPECT_EQ(rig.log, c.want) << c.what;
        EXPECT_TRUE(rig.shell.executed.empty());
    }
}

TEST(RunSpecialItem, KeywordsRunTheirCommands) {
    struct Case {
        std::u16string keyword;
        Log want;
    };
    const Case cases[] = {
        {u"DeskTop", {"folder 0", "hide"}},
        {u"MyComputer", {"folder 17", "hide"}},
        {u"NetWork", {"folder 18", "hide"}},
        {u"MyDocument", {"folder 5", "hide"}},
        {u"ControlPanel", {"folder 3", "hide"}},
        {u"DustBox", {"folder 10", "hide"}},
        {u"Printer", {"folder 4", "hide"}},
        {u"desktop", {"folder 0", "hide"}},
        {u"Gone", {"folder 0", "hide"}},
        {u"ms-settings:", {"execute  ms-settings:", "hide"}},
        {u"CD Player", {"cd-flag on", "cd 0", "cd-flag off", "hide"}},
        {u"cd player", {"cd-flag on", "cd 0", "cd-flag off", "hide"}},
        {u"Suspend", {"name Sleep now", "hide", "suspend"}},
        {u"Exit", {"hide", "foreground 1", "pump"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.trays[SystemTray].Items = {Keyword(c.keyword, u"Sleep now")};
        RunItem(rig.run, SystemTray, 0, true);
        EXPECT_EQ(rig.log, c.want) << testing::Narrow(c.keyword);
        EXPECT_EQ(rig.showStatus, 0);
    }
    LauncherRig rig;
    rig.trays[SystemTray].Items = {Keyword(u"ms-settings:")};
    RunItem(rig.run, SystemTray, 0, true);
    ASSERT_EQ(rig.shell.executed.size(), 1u);
    EXPECT_EQ(rig.shell.executed[0], (ExecuteRequest{Owner::MainWindow, u"", u"ms-settings:", u"", u"", 5}));
}

TEST(RunSpecialItem, ExitAsksTheShellsDesktopToClose) {
    LauncherRig rig;
    rig.shell.windows[u"ProgMan|Program Manager"] = 40;
    rig.trays[SystemTray].Items = {Keyword(u"Exit")};
    RunItem(rig.run, SystemTray, 0, false);
    EXPECT_EQ(rig.log, (Log{"hide", "foreground 1", "pump", "post 40 16 0"}));
}

TEST(RunSpecialItem, StartMenuClicksTheStartButton) {
    LauncherRig rig;
    rig.shell.windows[u"Shell_TrayWnd|"] = 50;
    rig.trays[SystemTray].Items = {Keyword(u"Start Menu")};
    RunItem(rig.run, SystemTray, 0, false);
    EXPECT_EQ(rig.log, (Log{"foreground 50", "post 51 513 0", "sleep 100", "post 51 256 80", "hide"}));

    // The taskbar does not take the foreground: the wait ends once the tick count has passed start + 2.
    LauncherRig slow;
    slow.shell.windows[u"Shell_TrayWnd|"] = 50;
    slow.shell.foregroundFollows = false;
    slow.trays[SystemTray].Items = {Keyword(u"Start Menu")};
    RunItem(slow.run, SystemTray, 0, false);
    EXPECT_EQ(slow.log, (Log{"foreground 50", "post 51 513 0", "sleep 1", "sleep 1", "sleep 1", "sleep 100",
                             "post 51 256 80", "hide"}));

    LauncherRig none;
    none.trays[SystemTray].Items = {Keyword(u"Start Menu")};
    RunItem(none.run, SystemTray, 0, false);
    EXPECT_EQ(none.log, (Log{"sleep 1", "sleep 1", "sleep 1", "sleep 100", "hide"})) << "no taskbar: nothing posted";
}

} // namespace
} // namespace vantrel
