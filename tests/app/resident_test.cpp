#include "app/resident.h"

#include <gtest/gtest.h>

#include "config/item_lists.h"
#include "services/text.h"
#include "support/fake_files.h"
#include "support/fake_system.h"

namespace vantrel {
namespace {

using testing::FakeFiles;
using testing::FakeIcons;
using testing::FakeSystem;

const std::u16string kBase = u"C:\\AppData";
const std::u16string kFolder = kBase + u"\\vantrel64\\";

class ResidentTest : public ::testing::Test {
protected:
    FakeSystem system;
    FakeIcons icons;
    FakeFiles files;
    std::vector<WriteFailure> failures;
    SettingsStore store{files, kBase, config::DecodeWindows1252,
                        [this](const WriteFailure& f) { failures.push_back(f); }};
    ResidentState state;

    void Put(const std::u16string& leaf, const std::u16string& text) {
        files.files[kFolder + leaf] = config::EncodeUtf16LeWithBom(text);
    }
};

TEST_F(ResidentTest, FirstStartCreatesTheFileWithTheCompletedSystemSection) {
    LoadSettings(state, store, system, icons);
    EXPECT_EQ(state.Environments.CurrentFileNumber(), 1);
    EXPECT_TRUE(state.ProgramList().empty());
    EXPECT_EQ(state.CurrentOption, TOption());
    ASSERT_TRUE(files.files.count(kFolder + u"vantrel.ini"));
    const auto doc = config::IniDocument::Parse(
        config::DecodeIniBytes(files.files[kFolder + u"vantrel.ini"], config::DecodeWindows1252));
    EXPECT_EQ(doc.Get(u"System", u"Title0"), u"This PC");
    EXPECT_EQ(doc.Get(u"System", u"ExeFileName8"), u"C:\\");
    EXPECT_FALSE(doc.HasSection(u"Option")) << "options are written only when the user changes them";
    EXPECT_EQ(files.writes, 1);
}

TEST_F(ResidentTest, StartReadsTheCurrentEnvironmentsFile) {
    Put(u"vantrel.ini", u"[Option]\r\nIniNo=2\r\nIniMax=2\r\nIniOrder2=4\r\nColMax=3\r\n");
    Put(u"vantrel4.ini", u"[Option]\r\nColMax=11\r\n[Program]\r\nTitle0=Editor\r\nExeFileName0=C:\\e.exe\r\n");
    LoadSettings(state, store, system, icons);
    EXPECT_EQ(state.CurrentOption.ColMax, 11);
    ASSERT_EQ(state.ProgramList().size(), 1u);
    EXPECT_EQ(state.ProgramList()[0].Title, u"Editor");
    EXPECT_TRUE(files.files.count(kFolder + u"vantrel4.ini"));
    EXPECT_FALSE(state.SystemList().empty());
}

TEST_F(ResidentTest, SwitchingEnvironments) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=3\r\nIniOrder2=2\r\nIniOrder3=3\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n[Program]\r\nTitle0=Two\r\n");
    LoadSettings(state, store, system, icons);
    const int readsAtStart = files.reads;

    EXPECT_EQ(ChangeMultiIni(state, 1, store, system, icons).outcome, EnvironmentSwitch::AlreadyCurrent);
    EXPECT_EQ(files.reads, readsAtStart) << "selecting the current environment re-reads nothing";

    const auto missing = ChangeMultiIni(state, 3, store, system, icons);
    EXPECT_EQ(missing.outcome, EnvironmentSwitch::MissingFile);
    EXPECT_EQ(missing.message, u"Cannot find the configuration file (vantrel3.ini)");
    EXPECT_EQ(state.Environments.IniNo, 1);

    EXPECT_EQ(ChangeMultiIni(state, 4, store, system, icons).outcome, EnvironmentSwitch::MissingFile)
        << "an unused slot is refused, not read as file -1";
    EXPECT_EQ(ChangeMultiIni(state, 9, store, system, icons).outcome, EnvironmentSwitch::MissingFile);

    EXPECT_EQ(ChangeMultiIni(state, 2, store, system, icons).outcome, EnvironmentSwitch::Switched);
    EXPECT_EQ(state.CurrentOption.ColMax, 5);
    ASSERT_EQ(state.ProgramList().size(), 1u);
    EXPECT_EQ(state.ProgramList()[0].Title, u"Two");
    EXPECT_EQ(store.ReadEnvironmentList().IniNo, 2) << "the switch is remembered in file 1";
}

TEST_F(ResidentTest, ExitFreesOwnedIconsOnly) {
    icons.paths = {u"C:\\a.txt"};
    Put(u"vantrel.ini", u"[Program]\r\nTitle0=A\r\nIconFileName0=C:\\a.txt\r\nIconIndex0=-1\r\n");
    LoadSettings(state, store, system, icons);
    RData task;
    task.Icon = 77777; // belongs to another program's window
    state.TaskList().push_back(task);
    const IconHandle own = state.ProgramList()[0].Icon;
    FreeTrays(state, icons);
    EXPECT_EQ(icons.destroyed.count(own), 1u);
    EXPECT_EQ(icons.destroyed.count(77777), 0u);
    EXPECT_EQ(icons.destroyed.count(FakeIcons::kFileIcon), 0u);
    EXPECT_TRUE(icons.live.empty()) << "every icon an item owned is gone";
}

TEST(Resident, HelpFileAndFontByLanguage) {
    EXPECT_EQ(HelpFileName(u"C:\\Tools", u"ENU"), u"C:\\Tools\\vantrel.chm");
    EXPECT_EQ(HelpFileName(u"C:\\Tools", u"JPN"), u"C:\\Tools\\vantrelj.chm");
    EXPECT_TRUE(NeedsMeiryo(u"JPN", false));
    EXPECT_FALSE(NeedsMeiryo(u"JPN", true));
    EXPECT_FALSE(NeedsMeiryo(u"ENU", false));
}

} // namespace
} // namespace vantrel
