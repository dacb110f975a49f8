#include "app/environment_change.h"

#include <gtest/gtest.h>

#include "config/ini_document.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/stored_settings.h"

namespace vantrel {
namespace {

using testing::FakeFiles;
using testing::FakeIcons;
using testing::FakeSystem;

const std::u16string kBase = u"C:\\AppData";
const std::u16string kFolder = kBase + u"\\vantrel64\\";

// No CD drive and a hot key that is simply taken: the environment files are what these tests look at.
struct NoDevices : MciDevice, HotKeyRegistration {
    uint32_t Open(uint16_t&) override { return 266; }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return 0; }
    uint32_t Close(uint16_t) override { return 0; }
    uint32_t Status(uint16_t, uint32_t, std::optional<uint32_t>, uint32_t& value) override { return value = 0, 0; }
    uint32_t Play(uint16_t, std::optional<uint32_t>) override { return 0; }
    uint32_t Pause(uint16_t) override { return 0; }
    uint32_t SetDoor(uint16_t, bool) override { return 0; }
    void HotKeyOff() override {}
    void HotKeyOn(const TOption&) override {}
};

struct NoWait : CdClock {
    uint32_t TickCount() override { return 0; }
    void WaitBetweenAttempts() override {}
};

class EnvironmentChangeTest : public ::testing::Test {
protected:
    FakeSystem system;
    FakeIcons icons;
    FakeFiles files;
    std::vector<SettingsFailure> failures;
    SettingsStore store{files, kBase, config::DecodeWindows1252,
                        [this](const SettingsFailure& f) { failures.push_back(f); }};
    ResidentState state;
    NoDevices devices;
    NoWait clock;
    CdAudio cd{devices, clock};
    ResidentServices services{store, system, icons, cd};

    void Put(const std::u16string& leaf, const std::u16string& text) {
        files.files[kFolder + leaf] = config::EncodeUtf16LeWithBom(text);
    }
    bool Has(const std::u16string& leaf) { return files.files.count(kFolder + leaf) != 0; }
    config::IniDocument Doc(const std::u16string& leaf) {
        return config::IniDocument::Parse(
            config::DecodeIniBytes(files.files[kFolder + leaf], config::DecodeWindows1252));
    }

    // The selection dialog's OK as the resident program carries it out.
    EnvironmentSwitchResult Confirm(const EnvironmentPlan& plan) {
        const auto notDeleted = ApplyEnvironmentFiles(state, plan, store, system, icons);
        EXPECT_TRUE(notDeleted && notDeleted->empty());
        const auto result = ChangeMultiIni(state, plan.switchTo, services, devices);
        WriteEnvironmentChoice(state, store);
        return result;
    }
};

TEST_F(EnvironmentChangeTest, AddedEnvironmentGetsAFreshFileAndBecomesCurrent) {
    Put(u"vantrel.ini", u"[Option]\r\nVkKey=75\r\n[Program]\r\nTitle0=Mine\r\n");
    LoadSettings(state, services);
    Put(u"vantrel2.ini", u"[Program]\r\nTitle0=Stale\r\n"); // left behind by hand
    EnvironmentWork work(state.Environments);
    work.BeginAdd();
    work.ChangeOrAdd(u"Work", true);

    EXPECT_EQ(Confirm(work.Plan(state.Environments)).outcome, EnvironmentSwitch::Switched);
    EXPECT_EQ(state.Environments.IniNo, 2);
    EXPECT_EQ(state.CurrentOption, TOption{}) << "a new environment starts with the default options";
    EXPECT_TRUE(state.ProgramList().empty()) << "whatever an old file of that number held is gone";
    EXPECT_FALSE(state.SystemList().empty()) << "and it has the default System items";
    EXPECT_EQ(Doc(u"vantrel2.ini").Get(u"Option", u"VkKey"), u"74");
    EXPECT_EQ(Doc(u"vantrel2.ini").Get(u"System", u"Title0"), u"This PC");

    const auto list = ReadEnvironmentList(testing::Stored(store, 1));
    EXPECT_EQ(list.IniMax, 2);
    EXPECT_EQ(list.IniNo, 2);
    EXPECT_EQ(list.Slot(2).IniName, u"Work");
    EXPECT_EQ(list.Slot(2).IniOrder, 2);
    EXPECT_EQ(list.Slot(2).IniPopup, 1);
    EXPECT_EQ(Doc(u"vantrel.ini").Get(u"Option", u"VkKey"), u"75") << "the first environment's settings stay";
    EXPECT_TRUE(failures.empty());
}

TEST_F(EnvironmentChangeTest, AnEnvironmentAddedInPlaceOfADeletedOneStartsFromScratch) {
    Put(u"vantrel.ini", u"[Option]\r\nIniNo=2\r\nIniMax=2\r\nIniOrder2=2\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nVkKey=75\r\n[Program]\r\nTitle0=Old\r\n");
    LoadSettings(state, services);
    EnvironmentWork work(state.Environments);
    work.Select(1);
    work.Delete(); // the current environment, file 2
    work.BeginAdd();
    work.ChangeOrAdd(u"New", true); // takes file 2 again

    EXPECT_EQ(Confirm(work.Plan(state.Environments)).outcome, EnvironmentSwitch::Switched);
    EXPECT_EQ(state.CurrentOption, TOption{}) << "the deleted environment's hot key is not inherited";
    EXPECT_TRUE(state.ProgramList().empty());
    EXPECT_FALSE(Doc(u"vantrel2.ini").Get(u"Program", u"Title0"));
    EXPECT_EQ(Doc(u"vantrel2.ini").Get(u"Option", u"VkKey"), u"74");
}

TEST_F(EnvironmentChangeTest, DeletingTheCurrentSecondOfThreeSwitchesToTheRenumberedThird) {
    Put(u"vantrel.ini", u"[Option]\r\nIniNo=2\r\nIniMax=3\r\nIniOrder2=2\r\nIniOrder3=3\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n");
    Put(u"vantrel3.ini", u"[Option]\r\nColMax=9\r\n");
    LoadSettings(state, services);
    ASSERT_EQ(state.CurrentOption.ColMax, 5);
    EnvironmentWork work(state.Environments);
    work.Select(1);
    work.Delete(); // line 1 is now the former third, slot 2 with file 3

    EXPECT_EQ(Confirm(work.Plan(state.Environments)).outcome, EnvironmentSwitch::Switched)
        << "slot 2 stays the current number but names another file: its settings are read";
    EXPECT_FALSE(Has(u"vantrel2.ini"));
    EXPECT_TRUE(Has(u"vantrel3.ini"));
    EXPECT_EQ(state.CurrentOption.ColMax, 9);
    EXPECT_EQ(state.LoadedFileNumber, 3);
    const auto list = ReadEnvironmentList(testing::Stored(store, 1));
    EXPECT_EQ(list.IniMax, 2);
    EXPECT_EQ(list.IniNo, 2);
    EXPECT_EQ(list.Slot(2).IniOrder, 3);
    EXPECT_EQ(list.Slot(3).IniOrder, -1);
}

TEST_F(EnvironmentChangeTest, KeepingTheCurrentEnvironmentReadsNothingAgain) {
    Put(u"vantrel.ini", u"[Option]\r\nIniNo=3\r\nIniMax=3\r\nIniOrder2=2\r\nIniOrder3=3\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n");
    Put(u"vantrel3.ini", u"[Option]\r\nColMax=9\r\n");
    LoadSettings(state, services);
    EnvironmentWork work(state.Environments);
    work.Select(1);
    work.Delete(); // the current environment moves from slot 3 to slot 2 and stays selected there
    const int reads = files.reads;
    const auto result = Confirm(work.Plan(state.Environments));
    EXPECT_EQ(result.outcome, EnvironmentSwitch::AlreadyCurrent);
    EXPECT_EQ(state.Environments.IniNo, 2);
    EXPECT_LE(files.reads - reads, 2) << "only the list's own writes read the first file";
    EXPECT_EQ(ReadEnvironmentList(testing::Stored(store, 1)).IniNo, 2);
}

TEST_F(EnvironmentChangeTest, CancelLeavesEveryFileAsItWas) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n");
    LoadSettings(state, services);
    const auto before = files.files;
    EnvironmentWork work(state.Environments);
    work.BeginAdd();
    work.ChangeOrAdd(u"Gone", true);
    work.Select(1);
    work.Delete();
    // Cancel: the working copy is dropped, no plan is carried out.
    EXPECT_EQ(files.files, before);
}

TEST_F(EnvironmentChangeTest, AFileThatCannotBeDeletedIsReportedAndTheRestGoesOn) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n");
    LoadSettings(state, services);
    files.locked.insert(kFolder + u"vantrel2.ini");
    EnvironmentWork work(state.Environments);
    work.Select(1);
    work.Delete();
    const auto notDeleted = ApplyEnvironmentFiles(state, work.Plan(state.Environments), store, system, icons);
    ASSERT_TRUE(notDeleted);
    ASSERT_EQ(notDeleted->size(), 1u);
    EXPECT_EQ((*notDeleted)[0].path, kFolder + u"vantrel2.ini");
    EXPECT_FALSE((*notDeleted)[0].reason.empty());
    EXPECT_EQ(state.Environments.IniMax, 1);
}

TEST_F(EnvironmentChangeTest, TheFirstFileKeepsTheListWhenItsEnvironmentGoes) {
    // Slot 2 uses file 1 in this hand-edited list; deleting it must not delete the list with the file.
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder1=2\r\nIniOrder2=1\r\nIniName2=Old\r\n"
                        u"[Program]\r\nTitle0=Old item\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n");
    LoadSettings(state, services);
    EnvironmentWork work(state.Environments);
    work.Select(1);
    work.Delete();
    EXPECT_EQ(Confirm(work.Plan(state.Environments)).outcome, EnvironmentSwitch::AlreadyCurrent);
    ASSERT_TRUE(Has(u"vantrel.ini"));
    EXPECT_FALSE(Doc(u"vantrel.ini").Get(u"Program", u"Title0")) << "the removed environment's items are gone";
    const auto list = ReadEnvironmentList(testing::Stored(store, 1));
    EXPECT_EQ(list.IniMax, 1);
    EXPECT_EQ(list.Slot(1).IniOrder, 2);
}

} // namespace
} // namespace vantrel
