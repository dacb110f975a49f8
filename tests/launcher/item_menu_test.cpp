#include "launcher/item_menu.h"

#include <gtest/gtest.h>

#include "launcher/nav_fakes.h"

namespace vantrel {
namespace {

using testing::LauncherRig;
using testing::Log;

RData SystemItem(std::u16string exe, bool network = false) {
    RData item;
    item.Title = exe;
    item.ExeFileName = std::move(exe);
    item.Status = StatusSystem;
    item.Flag = network;
    return item;
}

RData ProgramItem(std::u16string exe, bool runasFlag = false) {
    RData item;
    item.Title = exe;
    item.ExeFileName = std::move(exe);
    item.RunasFlag = runasFlag;
    return item;
}

// The visible entries as the user reads them: captions, "-" for a separator, "(off)" after a disabled entry.
std::vector<std::u16string> Shown(const std::vector<MenuEntry>& entries) {
    std::vector<std::u16string> shown;
    for (const MenuEntry& e : entries)
        if (e.visible)
            shown.push_back(e.IsSeparator() ? u"-" : std::u16string(e.caption) + (e.enabled ? u"" : u"(off)"));
    return shown;
}

class ItemMenu : public ::testing::Test {
protected:
    ItemMenu() {
        rig.ops.Add(20, u"Editor");
        rig.ShowTasks();
    }
    std::optional<std::vector<std::u16string>> For(int32_t tray, const RData& item, bool setting = false) {
        rig.trays[static_cast<std::size_t>(tray)].Items = {item};
        const ItemMenuInputs in{rig.trays,
                                tray,
                                0,
                                rig.ops,
                                devices,
                                [this] {
                                    ++cdModeAsked;
                                    return cdMode;
                                },
                                setting};
        const auto entries = ComposeItemMenu(in);
        if (!entries)
            return std::nullopt;
        return Shown(*entries);
    }

    LauncherRig rig;
    DeviceList devices{{77, u"EF"}, {88, u"M"}};
    int32_t cdMode = 525;
    int cdModeAsked = 0;
};

using Captions = std::vector<std::u16string>;

TEST_F(ItemMenu, EntriesByItem) {
    RData cd = SystemItem(u"CD Player");
    cd.Status |= StatusSpecial;
    RData prompt = SystemItem(u"C:\\Windows\\system32\\cmd.exe");
    struct Case {
        const char* what;
        int32_t tray;
        RData item;
        Captions want;
    };
    const Case cases[] = {
        {"a program",
         ProgramTray,
         ProgramItem(u"C:\\Tools\\tool.exe"),
         {u"&Run as administrator", u"-", u"All c&lose", u"&All minimize "}},
        {"a program that always runs elevated",
         ProgramTray,
         ProgramItem(u"C:\\Tools\\tool.exe", true),
         {u"All c&lose", u"&All minimize "}},
        {"a document", ProgramTray, ProgramItem(u"C:\\a.txt"), {u"All c&lose", u"&All minimize "}},
        {"a task",
         TaskTray,
         rig.TaskAt(0),
         {u"&Minimize ", u"Ma&ximize", u"-", u"&Close", u"-", u"All c&lose", u"&All minimize "}},
        {"the CD player",
         SystemTray,
         cd,
         {u"&Play", u"&Next", u"Pre&v", u"&Eject", u"-", u"All c&lose", u"&All minimize "}},
        {"a network drive",
         SystemTray,
         SystemItem(u"Z:\\", true),
         {u"&Disconnect", u"-", u"All c&lose", u"&All minimize "}},
        {"a USB drive", SystemTray, SystemItem(u"E:\\"), {u"S&top", u"-", u"All c&lose", u"&All minimize "}},
        {"its second letter", SystemTray, SystemItem(u"f:\\"), {u"S&top", u"-", u"All c&lose", u"&All minimize "}},
        {"a fixed drive", SystemTray, SystemItem(u"C:\\"), {u"All c&lose", u"&All minimize "}},
        {"a built-in item whose name begins with a USB drive's letter",
         SystemTray,
         SystemItem(u"MyComputer"),
         {u"All c&lose", u"&All minimize "}},
        {"the command prompt", SystemTray, prompt, {u"&Run as administrator", u"-", u"All c&lose", u"&All minimize "}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(For(c.tray, c.item), c.want) << c.what;
    EXPECT_EQ(cdModeAsked, 1) << "the CD device is asked for the CD player only";
}

TEST_F(ItemMenu, SettingEntryOnceTheDialogExists) {
    EXPECT_EQ(For(ProgramTray, ProgramItem(u"C:\\Tools\\tool.exe"), true),
              (Captions{u"&Setting...", u"-", u"&Run as administrator", u"-", u"All c&lose", u"&All minimize "}));
    EXPECT_EQ(For(SystemTray, SystemItem(u"Z:\\", true), true),
              (Captions{u"&Setting...", u"-", u"&Disconnect", u"-", u"All c&lose", u"&All minimize "}));
    EXPECT_EQ(For(TaskTray, rig.TaskAt(0), true),
              (Captions{u"&Minimize ", u"Ma&ximize", u"-", u"&Close", u"-", u"All c&lose", u"&All minimize "}));
}

TEST_F(ItemMenu, StateOfEntries) {
    RData cd = SystemItem(u"CD Player");
    cdMode = kCdModeOpen;
    EXPECT_EQ(For(SystemTray, cd), (Captions{u"&Play", u"&Next(off)", u"Pre&v(off)", u"&Eject(off)", u"-",
                                             u"All c&lose", u"&All minimize "}));
    rig.ops.Find(20)->iconic = true;
    EXPECT_EQ(For(TaskTray, rig.TaskAt(0))->front(), u"&Minimize (off)");
    rig.trays[TaskTray].Items.clear();
    EXPECT_EQ(For(ProgramTray, ProgramItem(u"C:\\a.txt")), (Captions{u"All c&lose(off)", u"&All minimize (off)"}));
}

TEST_F(ItemMenu, NoMenuWithoutAnItem) {
    RData hidden = ProgramItem(u"C:\\a.exe");
    hidden.Status = StatusNotUsed;
    EXPECT_EQ(For(ProgramTray, hidden), std::nullopt);
    rig.trays[ProgramTray].Items.clear();
    const ItemMenuInputs in{rig.trays, ProgramTray, -1, rig.ops, devices, {}, false};
    EXPECT_EQ(ComposeItemMenu(in), std::nullopt);
}

TEST(FindDevice, FirstDeviceHoldingTheLetter) {
    const DeviceList devices{{5, u"GH"}, {6, u"H"}, {0, u"K"}};
    EXPECT_EQ(FindDevice(devices, u'G'), 5);
    EXPECT_EQ(FindDevice(devices, u'h'), 5);
    EXPECT_EQ(FindDevice(devices, u'Z'), 0);
    EXPECT_EQ(FindDevice({}, u'G'), 0);
}

TEST(ItemMenuPosition, AtTheCursorCellOrTheMouse) {
    LauncherLayout layout = ComputeLayout(7, {10, 0, 0}, 15);
    EXPECT_EQ(ItemMenuPosition(layout, {100, 200}, ProgramTray, 9, false, {1, 2}),
              (ScreenPoint{100 + 8 + 2 * 40 + 2, 200 + layout.trayBox[0].top + 40 + 2 + 20}));
    EXPECT_EQ(ItemMenuPosition(layout, {100, 200}, ProgramTray, 9, true, {1, 2}), (ScreenPoint{1, 2}));
}

TEST(MenuCommand, CommandsOnTheCurrentItem) {
    struct Case {
        const char* what;
        MenuEntryId id;
        RData item;
        Log want;
    };
    const Case cases[] = {
        {"disconnect", MenuEntryId::CutNetworkDrive, SystemItem(u"Z:\\", true), {"disconnect Z:", "hide"}},
        {"stop", MenuEntryId::StopDrive, SystemItem(u"F:\\"), {"eject 77", "hide"}},
        {"stop a drive that has gone meanwhile", MenuEntryId::StopDrive, SystemItem(u"G:\\"), {"hide"}},
        {"play", MenuEntryId::PlayFromStart, SystemItem(u"CD Player"), {"cd-flag on", "cd 1", "cd-flag off", "hide"}},
        {"next", MenuEntryId::NextTrack, SystemItem(u"CD Player"), {"cd-flag on", "cd 2", "cd-flag off", "hide"}},
        {"previous",
         MenuEntryId::PreviousTrack,
         SystemItem(u"CD Player"),
         {"cd-flag on", "cd 3", "cd-flag off", "hide"}},
        {"eject", MenuEntryId::Eject, SystemItem(u"CD Player"), {"cd-flag on", "cd 4", "cd-flag off", "hide"}},
        {"run as administrator", MenuEntryId::Runas, ProgramItem(u"C:\\t.exe"), {"execute runas C:\\t.exe", "hide"}},
        {"all minimize", MenuEntryId::AllToIcon, ProgramItem(u"C:\\t.exe"), {"minimize-all", "hide"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.trays[SystemTray].Items = {c.item};
        rig.trays[ProgramTray].Items = {c.item};
        rig.window.NowMode = c.id == MenuEntryId::Runas ? ProgramTray : SystemTray;
        EXPECT_EQ(PerformMenuCommand(rig.run, c.id, {{77, u"EF"}}), MenuOutcome::Done) << c.what;
        EXPECT_EQ(rig.log, c.want) << c.what;
        EXPECT_EQ(rig.showStatus, 0) << c.what;
    }
    LauncherRig rig;
    rig.trays[ProgramTray].Items = {ProgramItem(u"C:\\t.exe")};
    EXPECT_EQ(PerformMenuCommand(rig.run, MenuEntryId::Setting, {}), MenuOutcome::OpenSettingDialog);
    EXPECT_TRUE(rig.log.empty()) << "the window opens the dialog and stays up";
}

TEST(MenuCommand, TaskCommands) {
    LauncherRig rig;
    rig.ops.Add(30, u"A");
    rig.ops.Add(31, u"B");
    rig.ops.Add(32, u"C");
    rig.ShowTasks(); // B, C, A
    rig.window.NowMode = TaskTray;
    rig.trays[TaskTray].NowIndex = 1;
    PerformMenuCommand(rig.run, MenuEntryId::ToIcon, {});
    PerformMenuCommand(rig.run, MenuEntryId::ToMax, {});
    EXPECT_EQ(rig.log, (Log{"minimize 32", "front", "maximize 32", "hide", "front"}));
    EXPECT_EQ(rig.showStatus, 1) << "the launcher is back as it was shown";
    rig.log.clear();
    PerformMenuCommand(rig.run, MenuEntryId::Close, {});
    EXPECT_EQ(rig.log, (Log{"sys-close 32", "rebuild", "repaint", "front"}));
    rig.log.clear();
    PerformMenuCommand(rig.run, MenuEntryId::AllClose, {});
    EXPECT_EQ(rig.ops.zOrder.size(), 0u);
    EXPECT_TRUE(rig.view.hidden);
}

} // namespace
} // namespace vantrel
