#include "config/system_items.h"

#include <gtest/gtest.h>

#include "config/item_lists.h"
#include "config/tray_lists.h"
#include "services/text.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/stored_settings.h"

namespace vantrel {
namespace {

using testing::FakeFiles;
using testing::FakeIcons;
using testing::FakeSystem;

std::vector<std::u16string> Exes(const ItemList& list) {
    std::vector<std::u16string> out;
    for (const auto& item : list)
        out.push_back(item.ExeFileName);
    return out;
}

class SystemItemsTest : public ::testing::Test {
protected:
    FakeSystem system;
    FakeIcons icons;
    void SetUp() override {
        icons.paths = {u"C:\\Windows\\system32\\Shell32.Dll", u"C:\\Tools\\vantrel.exe",
                       u"C:\\Windows\\system32\\mydocs.dll", u"C:\\Windows\\system32\\cmd.exe"};
        icons.iconCounts = {{u"C:\\Windows\\system32\\Shell32.Dll", 400}, {u"C:\\Tools\\vantrel.exe", 8}};
        icons.shellIconPaths = {u"C:\\", u"D:\\", u"Z:\\"};
    }
};

TEST_F(SystemItemsTest, AFreshListGetsTheDefaultsThenTheDrivesThenTheCommandPrompt) {
    system.drives = (1u << 2) | (1u << 25);
    system.driveNames[u'Z'] = u"Root (Z:)";
    ItemList list;
    EXPECT_TRUE(CompleteSystemList(list, system, icons));
    EXPECT_EQ(Exes(list), (std::vector<std::u16string>{u"MyComputer", u"NetWork", u"MyDocument", u"ControlPanel",
                                                       u"DeskTop", u"DustBox", u"Exit", u"Suspend", u"C:\\", u"Z:\\",
                                                       u"C:\\Windows\\system32\\cmd.exe"}));
    const RData& exitItem = list[6];
    EXPECT_EQ(exitItem.IconIndex, 27);
    EXPECT_EQ(exitItem.IconFileName, u"C:\\Windows\\system32\\Shell32.Dll");
    const RData& sleep = list[7];
    EXPECT_EQ(sleep.IconFileName, u"Vantrel.exe");
    EXPECT_EQ(sleep.IconIndex, 5);
    EXPECT_EQ(icons.Describe(sleep.Icon.Get()), u"extract:C:\\Tools\\vantrel.exe#5");
    const RData& z = list[9];
    EXPECT_EQ(z.Title, u"Root (Z:)");
    EXPECT_EQ(z.Status, StatusSystem);
    EXPECT_EQ(z.IconIndex, -1);
    const RData& prompt = list.back();
    EXPECT_EQ(prompt.Status, 5);
    EXPECT_EQ(prompt.IconIndex, -1) << "the prompt's icon is the associated icon on the NT family";
    EXPECT_EQ(InsertPosition(list), 10) << "the command prompt starts as not used";

    EXPECT_FALSE(CompleteSystemList(list, system, icons)) << "a complete list stays as it is";
}

// The item that runs exe, or null.
const RData* Entry(const ItemList& list, std::u16string_view exe) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const RData& item) { return item.ExeFileName == exe; });
    return it == list.end() ? nullptr : &*it;
}

TEST_F(SystemItemsTest, BrowsersAndSettingsDependOnTheMachine) {
    const std::u16string ie = u"C:\\Program Files\\Internet Explorer\\iexplore.exe";
    const std::u16string edge = u"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe";
    system.files = {ie, edge};
    ItemList list;
    CompleteSystemList(list, system, icons);
    EXPECT_TRUE(Entry(list, ie));
    EXPECT_TRUE(Entry(list, edge));
    EXPECT_FALSE(Entry(list, u"ms-settings:")) << "no helper library: no Settings";

    system.helperBound = true;
    system.windows10 = true;
    system.files.erase(edge);
    for (const auto& [build, internetExplorer, settingsIcon] : {std::tuple{22000, false, 314}, {21999, true, 316}}) {
        system.buildNumber = build;
        ItemList current;
        CompleteSystemList(current, system, icons);
        EXPECT_EQ(Entry(current, ie) != nullptr, internetExplorer) << build;
        ASSERT_TRUE(Entry(current, u"ms-settings:")) << build;
        EXPECT_EQ(Entry(current, u"ms-settings:")->IconIndex, settingsIcon) << build;
        for (const RData& item : current)
            EXPECT_EQ(item.ExeFileName.find(u"msedge"), std::u16string::npos) << "an Edge that is gone";
    }
}

TEST_F(SystemItemsTest, OldVersionsChooseOtherShutdownIcons) {
    for (auto [version, index] : {std::pair{410, 50}, {490, 105}, {1500, 107}, {1501, 27}, {1602, 27}, {400, 45}}) {
        system.winVersion = version;
        ItemList list;
        CompleteSystemList(list, system, icons);
        ASSERT_TRUE(Entry(list, u"Exit"));
        EXPECT_EQ(Entry(list, u"Exit")->IconIndex, index) << version;
    }
}

TEST_F(SystemItemsTest, DrivesComeAndGoButTheUsersOwnItemsStay) {
    ItemList list;
    CompleteSystemList(list, system, icons);
    const std::size_t base = list.size();

    system.drives |= 1u << 3;
    system.remoteDrives.insert(u'D');
    system.driveNames[u'D'] = u"share (\\\\server) (D:)";
    EXPECT_TRUE(SyncDrives(list, system, icons));
    ASSERT_EQ(list.size(), base + 1);
    const RData& d = list[static_cast<std::size_t>(FindItem(list, u"D:\\", system))];
    EXPECT_TRUE(d.Flag);
    EXPECT_LT(FindItem(list, u"D:\\", system), InsertPosition(list));

    RData mine;
    mine.Title = u"My stick";
    mine.ExeFileName = u"E:\\";
    list.insert(list.begin(), mine);
    system.drives &= ~(1u << 3);
    const IconHandle dIcon = list[static_cast<std::size_t>(FindItem(list, u"D:\\", system))].Icon.Get();
    EXPECT_TRUE(SyncDrives(list, system, icons));
    EXPECT_EQ(FindItem(list, u"D:\\", system), -1);
    EXPECT_EQ(icons.destroyed.count(dIcon), 1u) << "the removed item's icon is freed";
    EXPECT_EQ(FindItem(list, u"E:\\", system), 0) << "an item the user made for an absent drive is not deleted";
}

TEST_F(SystemItemsTest, AGoneDriveLosesItsBuiltInItemWhereverTheUsersOwnItemsStand) {
    // E: is unplugged. Items for its root: 'b' the built-in drive item (flag byte exactly StatusSystem, any
    // direct key), 'u' an item the user made, 'h' a built-in item the user set to "not used".
    struct Case {
        const char* order;
        const char* kept;
    };
    const Case cases[] = {
        {"b", ""}, {"u", "u"}, {"ub", "u"}, {"bu", "u"}, {"uub", "uu"}, {"ubu", "uu"}, {"h", "h"}, {"uh", "uh"},
    };
    system.drives = 0;
    for (const Case& c : cases) {
        ItemList list;
        RData other;
        other.ExeFileName = u"MyComputer";
        other.Status = 11;
        list.push_back(other);
        for (const char* kind = c.order; *kind; ++kind) {
            RData item;
            item.ExeFileName = u"E:\\";
            item.Title = std::u16string(1, static_cast<char16_t>(*kind));
            item.Status = *kind == 'b'   ? (StatusSystem | 0x4500)
                          : *kind == 'h' ? (StatusSystem | StatusNotUsed)
                                         : 0x4600;
            item.Icon = icons.Own(icons.ShellIcon(u"C:\\"));
            list.push_back(item);
        }
        const bool removes = std::string(c.order) != c.kept;
        EXPECT_EQ(SyncDrives(list, system, icons), removes) << c.order;
        std::string kept;
        for (const RData& item : list)
            if (item.ExeFileName == u"E:\\")
                kept += static_cast<char>(item.Title[0]);
        EXPECT_EQ(kept, c.kept) << c.order;
        EXPECT_EQ(list.front().ExeFileName, u"MyComputer") << c.order;
        FreeItems(list);
    }
}

TEST_F(SystemItemsTest, StoredItemsAreReadWithTheirDrivesCurrentNamesAndNetworkFlags) {
    FakeFiles files;
    SettingsStore store(files, u"C:\\AppData", config::DecodeWindows1252, [](const SettingsFailure&) {});
    system.drives |= 1u << 3;
    system.remoteDrives.insert(u'D');
    system.driveNames[u'D'] = u"Now (D:)";
    ItemList stored;
    CompleteSystemList(stored, system, icons);
    const int d = FindItem(stored, u"D:\\", system);
    stored[static_cast<std::size_t>(d)].Title = u"Old label";
    stored.erase(stored.begin() + FindItem(stored, u"DustBox", system));
    ASSERT_TRUE(store.WriteItems(1, ItemSection::System, stored));
    const int writesBefore = files.writes;

    auto read = store.ReadDocument(1, SettingsProblem::NotRead);
    const ItemList loaded = LoadSystemList(store, 1, &*read, system, icons);
    EXPECT_EQ(loaded[static_cast<std::size_t>(FindItem(loaded, u"D:\\", system))].Title, u"Now (D:)");
    EXPECT_TRUE(loaded[static_cast<std::size_t>(FindItem(loaded, u"D:\\", system))].Flag);
    EXPECT_NE(FindItem(loaded, u"DustBox", system), -1) << "a default removed by hand comes back";
    EXPECT_EQ(files.writes, writesBefore + 1) << "completion wrote the section back once";
    EXPECT_EQ(ReadItems(testing::Stored(store, 1), ItemSection::System).size(), loaded.size());

    read = store.ReadDocument(1, SettingsProblem::NotRead);
    const ItemList again = LoadSystemList(store, 1, &*read, system, icons);
    EXPECT_EQ(files.writes, writesBefore + 1) << "nothing changed, nothing written";
    EXPECT_EQ(again.size(), loaded.size());
}

TEST_F(SystemItemsTest, CopiesShareIconsAndTheLastOneToGoDestroysThem) {
    ItemList source;
    CompleteSystemList(source, system, icons);
    const std::size_t liveBefore = icons.live.size();
    ASSERT_GT(liveBefore, 0u);
    ItemList copy;
    CopyList(copy, source);
    ItemList copyOfCopy;
    CopyList(copyOfCopy, copy);
    ASSERT_EQ(copy.size(), source.size());
    EXPECT_EQ(copy, source) << "every field, the icon included";
    EXPECT_EQ(icons.live.size(), liveBefore) << "copying makes no icon";

    // The source goes first (as a dialog's Cancel replaces the list in use by its kept copy): the copies keep the
    // icons alive, and freeing them all destroys each owned icon exactly once.
    FreeItems(source);
    for (const auto& item : copy)
        EXPECT_NE(icons.Describe(item.Icon.Get()), u"<dead>") << "the copy's icons outlive the source";
    FreeItems(copy);
    EXPECT_TRUE(icons.destroyed.empty()) << "a copy still holds every icon";
    FreeItems(copyOfCopy);
    EXPECT_TRUE(icons.live.empty()) << "the last copy took every owned icon with it";
    for (const IconHandle icon : icons.destroyed)
        EXPECT_EQ(icons.destroyed.count(icon), 1u) << "destroyed once: " << icon;
    EXPECT_EQ(icons.destroyed.count(FakeIcons::kFileIcon), 0u);
    EXPECT_EQ(icons.destroyed.count(FakeIcons::kProgramIcon), 0u);
}

TEST_F(SystemItemsTest, CdPlayerFlag) {
    ItemList list(1);
    list[0].ExeFileName = u"cd player";
    list[0].Status = StatusSpecial | StatusSystem;
    EXPECT_TRUE(HasCdPlayerItem(list));
    list[0].Status |= StatusNotUsed;
    EXPECT_FALSE(HasCdPlayerItem(list));
    list[0].Status = 0;
    EXPECT_FALSE(HasCdPlayerItem(list));
}

} // namespace
} // namespace vantrel
