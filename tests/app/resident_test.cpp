#include "app/resident.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/environment_change.h"
#include "config/item_lists.h"
#include "services/text.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/stored_settings.h"

namespace vantrel {
namespace {

using testing::FakeFiles;
using testing::FakeIcons;
using testing::FakeSystem;
using Log = std::vector<std::string>;

const std::u16string kBase = u"C:\\AppData";
const std::u16string kFolder = kBase + u"\\vantrel64\\";

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// A CD audio device and the main window's hot key that write what is asked of them, and what the resident
// state held at that moment, into one log.
struct Recorder : MciDevice, HotKeyRegistration {
    const ResidentState* state = nullptr;
    std::function<std::string()> iniNoInFile1;
    Log log;
    uint32_t openResult = 0;

    // slot, first Program title, ColMax of the options, titles of the System items the user made, IniNo as
    // file 1 holds it
    std::string Moment() const {
        std::string own;
        for (const RData& item : state->TrayData[SystemTray].Items)
            if (item.Status == 0)
                own += Narrow(item.Title);
        const auto& programs = state->TrayData[ProgramTray].Items;
        return " (slot " + std::to_string(state->Environments.IniNo) + ", program " +
               (programs.empty() ? std::string("-") : Narrow(programs[0].Title)) + ", columns " +
               std::to_string(state->CurrentOption.ColMax) + ", system " + (own.empty() ? "-" : own) +
               ", file 1 IniNo " + iniNoInFile1() + ")";
    }
    uint32_t Open(uint16_t& id) override {
        log.push_back("cd open" + Moment());
        id = 3;
        return openResult;
    }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return 0; }
    uint32_t Close(uint16_t) override { return log.push_back("cd close" + Moment()), 0; }
    uint32_t Status(uint16_t, uint32_t, std::optional<uint32_t>, uint32_t& value) override { return value = 0, 0; }
    uint32_t Play(uint16_t, std::optional<uint32_t>) override { return 0; }
    uint32_t Pause(uint16_t) override { return 0; }
    uint32_t SetDoor(uint16_t, bool) override { return 0; }
    void HotKeyOff() override { log.push_back("hot key off" + Moment()); }
    void HotKeyOn(const TOption& option) override {
        log.push_back("hot key on " + std::to_string(option.VkMod) + "+" + std::to_string(option.VkKey) + Moment());
    }
};

struct NoWait : CdClock {
    uint32_t TickCount() override { return 0; }
    void WaitBetweenAttempts() override {}
};

// A System section with a "CD Player" item (used or not) and one item of the user's, by title.
std::u16string SystemSection(const char* cd, const char16_t* own) {
    std::u16string text = u"[System]\r\nTitle0=";
    text += own;
    text += u"\r\nExeFileName0=C:\\own.exe\r\nStatus0=0\r\n";
    if (std::string(cd) != "none")
        text += u"Title1=CD\r\nExeFileName1=cd player\r\nStatus1=" +
                std::u16string(std::string(cd) == "used" ? u"3" : u"7") + u"\r\n";
    return text;
}

class ResidentTest : public ::testing::Test {
protected:
    FakeSystem system;
    FakeIcons icons;
    FakeFiles files;
    std::vector<SettingsFailure> failures;
    SettingsStore store{files, kBase, config::DecodeWindows1252,
                        [this](const SettingsFailure& f) { failures.push_back(f); }};
    ResidentState state;
    Recorder recorder;
    NoWait clock;
    CdAudio cd{recorder, clock};
    ResidentServices services{store, system, icons, cd};

    void SetUp() override {
        recorder.state = &state;
        recorder.iniNoInFile1 = [this] {
            const auto doc = config::IniDocument::Parse(Text(u"vantrel.ini"));
            return Narrow(doc.Get(u"Option", u"IniNo").value_or(u"-"));
        };
    }
    // The device calls of the log, without the moments.
    Log DeviceCalls() const {
        Log calls;
        for (const std::string& entry : recorder.log)
            if (entry.rfind("cd ", 0) == 0)
                calls.push_back(entry.substr(0, entry.find(" (")));
        return calls;
    }
    void Put(const std::u16string& leaf, const std::u16string& text) {
        files.files[kFolder + leaf] = config::EncodeUtf16LeWithBom(text);
    }
    std::u16string Text(const std::u16string& leaf) {
        return config::DecodeIniBytes(files.files[kFolder + leaf], config::DecodeWindows1252);
    }
};

TEST_F(ResidentTest, FirstStartCreatesTheFileWithTheCompletedSystemSection) {
    LoadSettings(state, services);
    EXPECT_EQ(state.Environments.CurrentFileNumber(), 1);
    EXPECT_TRUE(state.ProgramList().empty());
    EXPECT_EQ(state.CurrentOption, TOption());
    ASSERT_TRUE(files.files.count(kFolder + u"vantrel.ini"));
    const auto doc = config::IniDocument::Parse(
        config::DecodeIniBytes(files.files[kFolder + u"vantrel.ini"], config::DecodeWindows1252));
    EXPECT_EQ(doc.Get(u"System", u"Title0"), u"This PC");
    EXPECT_EQ(doc.Get(u"System", u"ExeFileName8"), u"C:\\");
    EXPECT_EQ(Text(u"vantrel.ini").find(u"[Option]"), std::u16string::npos)
        << "options are written only when the user changes them";
    EXPECT_EQ(files.writes, 1);
}

TEST_F(ResidentTest, StartReadsTheCurrentEnvironmentsFile) {
    Put(u"vantrel.ini", u"[Option]\r\nIniNo=2\r\nIniMax=2\r\nIniOrder2=4\r\nColMax=3\r\n");
    Put(u"vantrel4.ini", u"[Option]\r\nColMax=11\r\n[Program]\r\nTitle0=Editor\r\nExeFileName0=C:\\e.exe\r\n");
    LoadSettings(state, services);
    EXPECT_EQ(state.CurrentOption.ColMax, 11);
    ASSERT_EQ(state.ProgramList().size(), 1u);
    EXPECT_EQ(state.ProgramList()[0].Title, u"Editor");
    EXPECT_TRUE(files.files.count(kFolder + u"vantrel4.ini"));
    EXPECT_FALSE(state.SystemList().empty());
}

TEST_F(ResidentTest, SwitchingEnvironments) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=3\r\nIniOrder2=2\r\nIniOrder3=3\r\n");
    Put(u"vantrel2.ini", u"[Option]\r\nColMax=5\r\n[Program]\r\nTitle0=Two\r\n");
    LoadSettings(state, services);
    const int readsAtStart = files.reads;

    EXPECT_EQ(ChangeMultiIni(state, 1, services, recorder).outcome, EnvironmentSwitch::AlreadyCurrent);
    EXPECT_EQ(files.reads, readsAtStart) << "selecting the current environment re-reads nothing";

    const auto missing = ChangeMultiIni(state, 3, services, recorder);
    EXPECT_EQ(missing.outcome, EnvironmentSwitch::MissingFile);
    EXPECT_EQ(missing.message, u"Cannot find the configuration file (vantrel3.ini)");
    EXPECT_EQ(state.Environments.IniNo, 1);

    EXPECT_EQ(ChangeMultiIni(state, 4, services, recorder).outcome, EnvironmentSwitch::MissingFile)
        << "an unused slot is refused, not read as file -1";
    EXPECT_EQ(ChangeMultiIni(state, 9, services, recorder).outcome, EnvironmentSwitch::MissingFile);
    EXPECT_TRUE(recorder.log.empty()) << "a refused switch leaves the hot key and the CD device alone";

    EXPECT_EQ(ChangeMultiIni(state, 2, services, recorder).outcome, EnvironmentSwitch::Switched);
    EXPECT_EQ(state.CurrentOption.ColMax, 5);
    ASSERT_EQ(state.ProgramList().size(), 1u);
    EXPECT_EQ(state.ProgramList()[0].Title, u"Two");
    EXPECT_EQ(ReadEnvironmentList(testing::Stored(store, 1)).IniNo, 2) << "the switch is remembered in file 1";
}

TEST_F(ResidentTest, ExitFreesOwnedIconsOnly) {
    icons.paths = {u"C:\\a.txt"};
    Put(u"vantrel.ini", u"[Program]\r\nTitle0=A\r\nIconFileName0=C:\\a.txt\r\nIconIndex0=-1\r\n");
    LoadSettings(state, services);
    RData task;
    task.Icon = IconRef::Borrowed(77777); // belongs to another program's window
    state.TaskList().push_back(task);
    const IconHandle own = state.ProgramList()[0].Icon.Get();
    CloseResident(state, services);
    EXPECT_EQ(icons.destroyed.count(own), 1u);
    EXPECT_EQ(icons.destroyed.count(77777), 0u);
    EXPECT_EQ(icons.destroyed.count(FakeIcons::kFileIcon), 0u);
    EXPECT_TRUE(icons.live.empty()) << "every icon an item owned is gone";
}

TEST_F(ResidentTest, AnEnvironmentSwitchChangesTheHotKeyBetweenItsOptionsAndItsSystemItems) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\nColMax=3\r\n[Program]\r\nTitle0=One\r\n" +
                            SystemSection("used", u"Old"));
    Put(u"vantrel2.ini",
        u"[Option]\r\nColMax=5\r\nVkKey=75\r\nVkMod=6\r\n[Program]\r\nTitle0=Two\r\n" + SystemSection("used", u"New"));
    LoadSettings(state, services);
    EXPECT_EQ(recorder.log, Log{"cd open (slot 1, program One, columns 3, system Old, file 1 IniNo -)"});
    recorder.log.clear();

    ASSERT_EQ(ChangeMultiIni(state, 2, services, recorder).outcome, EnvironmentSwitch::Switched);
    EXPECT_EQ(recorder.log, (Log{
                                "hot key off (slot 2, program Two, columns 3, system Old, file 1 IniNo -)",
                                "hot key on 6+75 (slot 2, program Two, columns 5, system Old, file 1 IniNo -)",
                                "cd close (slot 2, program Two, columns 5, system New, file 1 IniNo -)",
                                "cd open (slot 2, program Two, columns 5, system New, file 1 IniNo -)",
                            }));
    EXPECT_EQ(recorder.iniNoInFile1(), "2") << "the switch is recorded last";
}

TEST_F(ResidentTest, TheCdDeviceIsOpenWhileTheSystemListHoldsAUsedCdPlayer) {
    // What happens after the start, and the device calls of the start and of that step.
    enum class Step { None, Exit, Write, StopUsingCd, AddCd, SwitchToNone, SwitchToUsed };
    struct Case {
        const char* what;
        const char* cd; // the CD Player item of file 1: none, used, unused
        Step step;
        uint32_t openResult;
        Log calls;
        bool flagAfter;
    };
    const Case cases[] = {
        {"start with a used CD player", "used", Step::None, 0, {"cd open"}, true},
        {"start with a CD player set to not used", "unused", Step::None, 0, {}, false},
        {"start without a CD player", "none", Step::None, 0, {}, false},
        {"exit", "used", Step::Exit, 0, {"cd open", "cd close"}, true},
        {"exit without a device", "none", Step::Exit, 0, {}, false},
        {"System list written", "used", Step::Write, 0, {"cd open", "cd close", "cd open"}, true},
        {"CD player set to not used and written", "used", Step::StopUsingCd, 0, {"cd open", "cd close"}, false},
        {"CD player added and written", "none", Step::AddCd, 0, {"cd open"}, true},
        {"switch to an environment without a CD player", "used", Step::SwitchToNone, 0, {"cd open", "cd close"}, false},
        {"switch to an environment with one", "none", Step::SwitchToUsed, 0, {"cd open"}, true},
        {"no drive: tried again at the next write", "used", Step::Write, 266, {"cd open", "cd open"}, true},
    };
    for (const Case& c : cases) {
        files.files.clear();
        recorder.log.clear();
        recorder.openResult = c.openResult;
        CloseResident(state, services);
        cd.CdClose();
        recorder.log.clear();
        Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n" + SystemSection(c.cd, u"Mine"));
        Put(u"vantrel2.ini", SystemSection(c.step == Step::SwitchToUsed ? "used" : "none", u"Other"));
        LoadSettings(state, services);
        switch (c.step) {
        case Step::None:
            break;
        case Step::Exit:
            CloseResident(state, services);
            break;
        case Step::Write:
            EXPECT_TRUE(WriteSystemList(state, services)) << c.what;
            break;
        case Step::StopUsingCd:
        case Step::AddCd:
            for (RData& item : state.SystemList())
                if (EqualsNoCase(item.ExeFileName, u"cd player"))
                    item.Status |= StatusNotUsed;
            if (c.step == Step::AddCd) {
                RData player;
                player.Title = u"CD";
                player.ExeFileName = u"CD Player";
                player.Status = StatusSystem | StatusSpecial;
                state.SystemList().insert(state.SystemList().begin(), player);
            }
            EXPECT_TRUE(WriteSystemList(state, services)) << c.what;
            break;
        case Step::SwitchToNone:
        case Step::SwitchToUsed:
            EXPECT_EQ(ChangeMultiIni(state, 2, services, recorder).outcome, EnvironmentSwitch::Switched) << c.what;
            break;
        }
        EXPECT_EQ(DeviceCalls(), c.calls) << c.what;
        EXPECT_EQ(state.CdPlayerFlag, c.flagAfter) << c.what;
    }
    CloseResident(state, services);
}

TEST_F(ResidentTest, StartRemovesOnlyTheTemporaryFilesOfInterruptedWrites) {
    const std::u16string ours[] = {u"vantrel.ini.1a2b-0.tmp", u"VANTREL3.INI.ff-10.TMP", u"vantrel5.ini.1-2.tmp"};
    const std::u16string others[] = {
        u"notes.tmp",         u"vantrel.ini.bak", u"vantrel.ini.1-2.tmp.keep", u"vantrel6.ini.1-2.tmp",
        u"other.ini.1-2.tmp", u"vantrel2.ini"};
    for (const auto& name : ours)
        files.files[kFolder + name] = "torn";
    for (const auto& name : others)
        files.files[kFolder + name] = "kept";
    files.files[kBase + u"\\vantrel\\vantrel.ini.1-2.tmp"] = "another folder";
    LoadSettings(state, services);
    for (const auto& name : ours)
        EXPECT_EQ(files.files.count(kFolder + name), 0u) << Narrow(name);
    for (const auto& name : others)
        EXPECT_EQ(files.files.count(kFolder + name), 1u) << Narrow(name);
    EXPECT_EQ(files.files.count(kBase + u"\\vantrel\\vantrel.ini.1-2.tmp"), 1u);
}

TEST_F(ResidentTest, AFailedCopyOfOldSettingsIsReportedAndTriedAgainAtTheNextStart) {
    const std::u16string oldFolder = kBase + u"\\vantrel\\";
    for (const char16_t* failing : {u"vantrel.ini", u"vantrel2.ini"}) {
        files.files.clear();
        failures.clear();
        files.files[oldFolder + u"vantrel.ini"] =
            config::EncodeUtf16LeWithBom(u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n[Program]\r\nTitle0=Old\r\n");
        files.files[oldFolder + u"vantrel2.ini"] = config::EncodeUtf16LeWithBom(u"[Option]\r\nColMax=4\r\n");
        files.uncopyable = {oldFolder + failing};
        LoadSettings(state, services);
        EXPECT_EQ(failures.size(), 1u) << Narrow(failing) << ": the user is told once";
        EXPECT_FALSE(files.files.count(kFolder + u"vantrel.ini")) << Narrow(failing) << ": no fresh first file";

        files.uncopyable.clear();
        LoadSettings(state, services);
        ASSERT_EQ(state.ProgramList().size(), 1u) << Narrow(failing);
        EXPECT_EQ(state.ProgramList()[0].Title, u"Old");
        EXPECT_EQ(ChangeMultiIni(state, 2, services, recorder).outcome, EnvironmentSwitch::Switched);
        EXPECT_EQ(state.CurrentOption.ColMax, 4) << Narrow(failing);
    }
}

// A file another program holds through the start, or one far too large, is told once and never replaced: neither
// "Registering Icons"' OK nor an added environment (which would make vantrel2.ini again) writes defaults.
TEST_F(ResidentTest, SettingsThatCannotBeReadAreNeverReplacedByDefaults) {
    const std::u16string mine = u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n[Program]\r\nTitle0=Mine\r\n";
    struct Case {
        const char* what;
        int heldReads; // reads of vantrel.ini that find it held by another program (-1: until it lets go)
        std::u16string padding;
        std::string program; // the first Program item after the start
    };
    const Case cases[] = {
        {"held for a moment", 3, u"", "Mine"},
        {"held through the start", -1, u"", "-"},
        {"too large", 0, u";" + std::u16string(kMaxSettingsFileBytes / 2, u'x'), "-"},
    };
    for (const Case& c : cases) {
        failures.clear();
        Put(u"vantrel.ini", mine + c.padding);
        Put(u"vantrel2.ini", u"[Program]\r\nTitle0=Two\r\n");
        const auto before = files.files;
        files.held = {{kFolder + u"vantrel.ini", c.heldReads}};
        SettingsStore store{files, kBase, config::DecodeWindows1252,
                            [this](const SettingsFailure& f) { failures.push_back(f); }};
        ResidentServices services{store, system, icons, cd};
        LoadSettings(state, services);
        EXPECT_EQ(state.ProgramList().empty() ? "-" : Narrow(state.ProgramList()[0].Title), c.program) << c.what;
        const bool unread = c.program == "-";
        ASSERT_EQ(failures.size(), unread ? 1u : 0u) << c.what;

        files.held.clear(); // the other program lets go; the user saves and adds an environment
        EXPECT_EQ(SaveTrays(state, services, true), !unread) << c.what;
        EnvironmentWork work(state.Environments);
        work.BeginAdd();
        work.ChangeOrAdd(u"New", true);
        EXPECT_EQ(ApplyEnvironmentFiles(state, work.Plan(state.Environments), store, system, icons).has_value(),
                  !unread)
            << c.what;
        if (!unread)
            continue;
        EXPECT_EQ(files.files, before) << c.what;
        EXPECT_EQ(failures.size(), 3u) << c.what << ": told at the start, at the save and at the environment change";
    }
}

TEST_F(ResidentTest, ASwitchToAnEnvironmentWhoseFileIsHeldKeepsTheOneInUse) {
    Put(u"vantrel.ini", u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n[Program]\r\nTitle0=Mine\r\n");
    Put(u"vantrel2.ini", u"[Program]\r\nTitle0=Two\r\n");
    LoadSettings(state, services);
    files.held = {{kFolder + u"vantrel2.ini", -1}};
    EXPECT_EQ(ChangeMultiIni(state, 2, services, recorder).outcome, EnvironmentSwitch::Unreadable);
    EXPECT_EQ(state.ProgramList()[0].Title, u"Mine");
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_TRUE(recorder.log.empty()) << "the hot key and the CD device are left alone";
}

TEST_F(ResidentTest, StartReadsTheSettingsFileOnce) {
    LoadSettings(state, services); // first start: the file is made
    const int reads = files.reads;
    LoadSettings(state, services);
    EXPECT_EQ(files.reads - reads, 1);
}

// A device library whose snapshot holds one USB stick with two drive letters.
struct OneStick : DeviceLibraryFunctions {
    bool BindDeviceLibrary() override { return true; }
    int32_t GetDeviceData(int32_t mode) override { return mode == 0 ? 1 : 0; }
    int32_t EjectDeviceHandle(uint32_t) override { return 0; }
    uint32_t GetDeviceHandle(int32_t) override { return 0x51; }
    int32_t GetDriveLetterW(int32_t, char16_t* buffer, int32_t) override {
        buffer[0] = u'E', buffer[1] = u'F', buffer[2] = 0;
        return 2;
    }
};

// The start reads the settings without asking the shell for a single icon; finishing it gives every item the icon (and
// a drive the name) a full read would have given it, and knows the USB drives plugged in before the program started.
TEST_F(ResidentTest, TheStartLeavesTheIconsAndTheUsbDrivesForItsFinish) {
    Put(u"vantrel.ini", u"[Program]\r\nTitle0=Tool\r\nExeFileName0=C:\\t.exe\r\nIconFileName0=C:\\t.exe\r\n");
    icons.paths.insert(u"C:\\t.exe");
    icons.iconCounts[u"C:\\t.exe"] = 1;
    icons.shellIconPaths.insert(u"C:\\");
    ResidentState full;
    LoadSettings(full, services); // the first start writes the file with the drive's name of then
    system.driveNames[u'C'] = u"Renamed (C:)";
    LoadSettings(full, services);
    const std::size_t madeByFullRead = icons.live.size();
    OneStick library;
    StartResident(state, services);
    EXPECT_EQ(icons.live.size(), madeByFullRead) << "no icon is made before the finish";
    EXPECT_TRUE(state.Devices.empty());
    FinishStart(state, services, library);
    for (std::size_t tray : {ProgramTray, SystemTray}) {
        ASSERT_EQ(state.TrayData[tray].Items.size(), full.TrayData[tray].Items.size());
        for (std::size_t i = 0; i < full.TrayData[tray].Items.size(); ++i) {
            const RData& item = state.TrayData[tray].Items[i];
            EXPECT_EQ(icons.Describe(item.Icon.Get()), icons.Describe(full.TrayData[tray].Items[i].Icon.Get()))
                << "tray " << tray << " item " << i;
            EXPECT_EQ(item.Title, full.TrayData[tray].Items[i].Title) << "tray " << tray << " item " << i;
        }
    }
    ASSERT_EQ(state.Devices.size(), 1u);
    EXPECT_EQ(state.Devices[0].Di, 0x51);
    EXPECT_EQ(state.Devices[0].DriveLetter, u"EF");
    EXPECT_FALSE(TrayIconsNow(state, services)) << "nothing is left for a show to resolve";
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
