#include "launcher/item_menu.h"

#include <gtest/gtest.h>

#include "launcher/nav_fakes.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;
using Captions = std::vector<std::u16string>;

RData Item(std::u16string exe, int32_t status = StatusSystem, bool flag = false, bool runasFlag = false) {
    return {.Status = status, .Flag = flag, .ExeFileName = std::move(exe), .RunasFlag = runasFlag};
}

const DeviceList kUsbDrives{{77, u"EF"}, {88, u"M"}};

// The visible entries as the user reads them: "-" for a separator, "(off)" after a disabled entry; none when
// the cell has no menu.
std::optional<Captions> Menu(LauncherRig& rig, int32_t tray, std::optional<RData> item, int32_t cdMode = 525,
                             bool setting = false, const DeviceList& devices = kUsbDrives) {
    if (item)
        rig.trays[static_cast<std::size_t>(tray)].Items = {*item};
    const auto entries = ComposeItemMenu({rig.trays, tray, 0, rig.ops, devices, [cdMode] { return cdMode; }, setting});
    if (!entries)
        return std::nullopt;
    Captions shown;
    for (const MenuEntry& e : *entries)
        if (e.visible)
            shown.push_back(e.IsSeparator() ? u"-" : std::u16string(e.caption) + (e.enabled ? u"" : u"(off)"));
    return shown;
}

TEST(ItemMenu, EntriesByItem) {
    const Captions all = {u"All c&lose", u"&All minimize "};
    const auto with = [&](Captions head) {
        head.insert(head.end(), all.begin(), all.end());
        return head;
    };
    struct Case {
        const char* what;
        int32_t tray;
        std::optional<RData> item;
        Captions want;
        int32_t cdMode = 525;
        bool setting = false;
    };
    const Case cases[] = {
        {"a program", ProgramTray, Item(u"C:\\tool.exe", 0), with({u"&Run as administrator", u"-"})},
        {"with the setting dialog", ProgramTray, Item(u"C:\\tool.exe", 0),
         with({u"&Setting...", u"-", u"&Run as administrator", u"-"}), 525, true},
        {"one that always runs elevated", ProgramTray, Item(u"C:\\tool.exe", 0, false, true), all},
        {"a document", ProgramTray, Item(u"C:\\a.txt", 0), all},
        {"a task", TaskTray, std::nullopt, with({u"&Minimize ", u"Ma&ximize", u"-", u"&Close", u"-"})},
        {"the CD player", SystemTray, Item(u"CD Player"), with({u"&Play", u"&Next", u"Pre&v", u"&Eject", u"-"})},
        {"its door open", SystemTray, Item(u"CD Player"),
         with({u"&Play", u"&Next(off)", u"Pre&v(off)", u"&Eject(off)", u"-"}), kCdModeOpen},
        {"a network drive", SystemTray, Item(u"Z:\\", StatusSystem, true), with({u"&Disconnect", u"-"})},
        {"a USB drive", SystemTray, Item(u"E:\\"), with({u"S&top", u"-"})},
        {"by its other letter", SystemTray, Item(u"f:\\"), with({u"S&top", u"-"})},
        {"a fixed drive", SystemTray, Item(u"C:\\"), all},
        {"an item that begins with a USB drive's letter", SystemTray, Item(u"MyComputer"), all},
        {"the command prompt", SystemTray, Item(u"C:\\W\\cmd.exe"), with({u"&Run as administrator", u"-"})},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.ShowTasks({Close::OnSysCommand});
        EXPECT_EQ(Menu(rig, c.tray, c.item, c.cdMode, c.setting), c.want) << c.what;
    }
}

TEST(ItemMenu, StopAllComesWithStopWhileAStickCanBeStopped) {
    LauncherRig rig;
    const DeviceList sticks{{77, u"EF", true}, {88, u"M", false}};
    const Captions stopAll = {u"S&top", u"Stop all &USB drives", u"-", u"All c&lose(off)", u"&All minimize (off)"};
    EXPECT_EQ(Menu(rig, SystemTray, Item(u"E:\\"), 525, false, sticks), stopAll);
    EXPECT_EQ(Menu(rig, SystemTray, Item(u"M:\\"), 525, false, sticks), stopAll) << "the built-in reader's drive too";
    EXPECT_EQ(Menu(rig, SystemTray, Item(u"M:\\"), 525, false, {sticks[1]}),
              (Captions{u"S&top", u"-", u"All c&lose(off)", u"&All minimize (off)"}))
        << "nothing the command could stop";

    rig.trays[SystemTray].Items = {Item(u"E:\\")};
    rig.window.NowMode = SystemTray;
    EXPECT_EQ(PerformMenuCommand(rig.run, MenuEntryId::StopAllDrives, sticks), MenuOutcome::StopAllUsbDrives);
    EXPECT_EQ(rig.log, Log{"hide"}) << "the window goes first; the host stops the drives";
}

TEST(ItemMenu, StateFromTheTasks) {
    LauncherRig rig;
    rig.ShowTasks({Close::OnSysCommand});
    rig.ops.zOrder[0].iconic = true;
    EXPECT_EQ(Menu(rig, TaskTray, std::nullopt)->front(), u"&Minimize (off)");
    rig.trays[TaskTray].Items.clear();
    EXPECT_EQ(Menu(rig, ProgramTray, Item(u"C:\\a.txt", 0)), (Captions{u"All c&lose(off)", u"&All minimize (off)"}));
    EXPECT_EQ(Menu(rig, ProgramTray, Item(u"C:\\a.txt", StatusNotUsed)), std::nullopt) << "no item, no menu";
}

TEST(ItemMenu, FindDeviceAndPosition) {
    EXPECT_EQ(FindDevice(kUsbDrives, u'F'), 77);
    EXPECT_EQ(FindDevice(kUsbDrives, u'm'), 88);
    EXPECT_EQ(FindDevice(kUsbDrives, u'Z'), 0);
    const LauncherLayout layout = ComputeLayout(7, {10, 0, 0}, 15);
    EXPECT_EQ(ItemMenuPosition(layout, {100, 200}, ProgramTray, 9, false, {1, 2}),
              (ScreenPoint{100 + 8 + 2 * 40 + 2, 200 + layout.trayBox[0].top + 40 + 2 + 20}));
    EXPECT_EQ(ItemMenuPosition(layout, {100, 200}, ProgramTray, 9, true, {1, 2}), (ScreenPoint{1, 2}));
    // At 150 %: the cell's left edge and half a cell down, in scaled pixels.
    const LauncherLayout large = ComputeLayout(7, {10, 0, 0}, 23, DpiScale{144});
    EXPECT_EQ(ItemMenuPosition(large, {100, 200}, ProgramTray, 9, false, {1, 2}),
              (ScreenPoint{100 + 12 + 2 * 60 + 3, 200 + large.trayBox[0].top + 60 + 3 + 30}));
}

TEST(ItemMenu, CommandsOnTheCurrentItem) {
    const std::tuple<MenuEntryId, RData, Log> cases[] = {
        {MenuEntryId::CutNetworkDrive, Item(u"Z:\\", StatusSystem, true), {"cut Z:", "hide"}},
        {MenuEntryId::StopDrive, Item(u"F:\\"), {"eject 77", "hide"}},
        {MenuEntryId::StopDrive, Item(u"G:\\"), {"hide"}}, // the drive went meanwhile
        {MenuEntryId::PlayFromStart, Item(u"CD Player"), {"cd-flag on", "cd 1", "cd-flag off", "hide"}},
        {MenuEntryId::NextTrack, Item(u"CD Player"), {"cd-flag on", "cd 2", "cd-flag off", "hide"}},
        {MenuEntryId::PreviousTrack, Item(u"CD Player"), {"cd-flag on", "cd 3", "cd-flag off", "hide"}},
        {MenuEntryId::Eject, Item(u"CD Player"), {"cd-flag on", "cd 4", "cd-flag off", "hide"}},
        {MenuEntryId::AllToIcon, Item(u"C:\\"), {"minimize-all", "hide"}},
        {MenuEntryId::Setting, Item(u"C:\\"), {}}, // the window opens the dialog and stays up
    };
    for (const auto& [id, item, want] : cases) {
        LauncherRig rig;
        rig.trays[SystemTray].Items = {item};
        rig.window.NowMode = SystemTray;
        const MenuOutcome outcome = PerformMenuCommand(rig.run, id, kUsbDrives);
        EXPECT_EQ(outcome, id == MenuEntryId::Setting ? MenuOutcome::OpenSettingDialog : MenuOutcome::Done);
        EXPECT_EQ(rig.log, want) << static_cast<int>(id);
    }
}

} // namespace
} // namespace vantrel
