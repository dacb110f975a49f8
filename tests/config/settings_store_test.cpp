#include "config/settings_store.h"

#include <gtest/gtest.h>

#include "config/settings_values.h"
#include "services/text.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/stored_settings.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

using testing::FakeFiles;

const std::u16string kBase = u"C:\\Users\\me\\AppData\\Roaming";
const std::u16string kFile1 = kBase + u"\\vantrel64\\vantrel.ini";

class SettingsStoreTest : public ::testing::Test {
protected:
    FakeFiles files;
    std::vector<SettingsFailure> failures;
    SettingsStore store{files, kBase, config::DecodeWindows1252,
                        [this](const SettingsFailure& failure) { failures.push_back(failure); }};

    void PutFile(const std::u16string& path, const std::u16string& text) {
        files.files[path] = config::EncodeUtf16LeWithBom(text);
    }
    std::u16string FileText(const std::u16string& path) {
        return config::DecodeIniBytes(files.files.at(path), config::DecodeWindows1252);
    }
    config::IniDocument Doc(const std::u16string& path) { return config::IniDocument::Parse(FileText(path)); }
};

TEST(SettingsValues, IntegersInEveryNotation) {
    struct Case {
        const char16_t* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {u"42", 42},
        {u"-7", -7},
        {u"+3", 3},
        {u"0x1F", 31},
        {u"0XfF", 255},
        {u"$800000", 0x800000},
        {u"$FFFFFFFF", -1},
        {u"0x", std::nullopt},
        {u"0x123456789", std::nullopt},
        {u"2147483647", INT32_MAX},
        {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"42abc", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"1 2", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << Utf16ToUtf8(c.text);
    EXPECT_EQ(FormatIniInteger(8388608), u"8388608");
}

TEST_F(SettingsStoreTest, FirstRunReadsDefaultsAndWritesNothing) {
    EXPECT_EQ(ReadOption(testing::Stored(store, 1)), TOption());
    EXPECT_TRUE(ReadItems(testing::Stored(store, 1), ItemSection::Program).empty());
    const EnvironmentList environments = ReadEnvironmentList(testing::Stored(store, 1));
    EXPECT_EQ(environments, EnvironmentList());
    EXPECT_EQ(environments.CurrentFileNumber(), 1);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(files.folders.count(kBase + u"\\vantrel64")) << "asking for a file name creates the folder";
}

TEST_F(SettingsStoreTest, OptionsRoundTripAndLeaveOtherKeysAlone) {
    PutFile(kFile1, u"; my notes\r\n[Option]\r\nIniNo=2\r\nIniMax=3\r\nIniName2=Work\r\nColMax=9\r\n"
                    u"[Custom]\r\nmine=kept\r\n");
    TOption option;
    option.ColMax = 12;
    option.BackColor = 0x00FF00;
    option.KeyOnlyFlag = true;
    option.FullScreenKeyOffFlag = true;
    option.ExcludeList = {u"mstsc.exe", u"\u00dcbung.exe"};
    option.ColorScheme = 2;
    ASSERT_TRUE(store.WriteOption(1, option));
    EXPECT_EQ(ReadOption(testing::Stored(store, 1)), option);

    const auto doc = Doc(kFile1);
    for (const auto& [key, value] : {std::pair{u"IniNo", u"2"},
                                     {u"IniMax", u"3"},
                                     {u"IniName2", u"Work"},
                                     {u"ColMax", u"12"},
                                     {u"BackColor", u"65280"},
                                     {u"FrameFlag", u"1"},
                                     {u"ExcludeList", u"mstsc.exe|\u00dcbung.exe"},
                                     {u"ColorScheme", u"2"}})
        EXPECT_EQ(doc.Get(u"Option", key), value) << Utf16ToUtf8(key);
    EXPECT_EQ(doc.Get(u"Custom", u"mine"), u"kept");
    EXPECT_EQ(FileText(kFile1).rfind(u"; my notes\r\n", 0), 0u);
}

TEST_F(SettingsStoreTest, HandEditedOptionsAreBroughtIntoRange) {
    PutFile(kFile1, u"[Option]\r\nColMax=99999999999\r\nKeyCursorFlag=7\r\nWaitDesktop=100000\r\nFrameFlag=-3\r\n"
                    u"VkKey=0x10000\r\nMouseFlag=9\r\nBackColor=$FF123456\r\nMoveCursorFlag=banana\r\nRowMax=77\r\n"
                    u"ColorScheme=3\r\n");
    const TOption option = ReadOption(testing::Stored(store, 1));
    EXPECT_EQ(option.ColMax, 7) << "no number at all: the default";
    EXPECT_EQ(option.KeyCursorFlag, 0);
    EXPECT_EQ(option.WaitDesktop, 3);
    EXPECT_EQ(option.FrameType, 1);
    EXPECT_EQ(option.VkKey, 74);
    EXPECT_EQ(option.MouseFlag, 0);
    EXPECT_EQ(option.BackColor, 0x123456);
    EXPECT_TRUE(option.MoveCursorFlag);
    EXPECT_EQ(option.RowMax, 77) << "kept: nothing acts on it";
    EXPECT_EQ(option.ColorScheme, 0) << "an unknown colour choice follows Windows";

    for (const auto& [text, colMax] : {std::pair{u"0", 1}, {u"1", 1}, {u"30", 30}, {u"31", 30}, {u"-5", 1}}) {
        PutFile(kFile1, u"[Option]\r\nColMax=" + std::u16string(text) + u"\r\n");
        EXPECT_EQ(ReadOption(testing::Stored(store, 1)).ColMax, colMax) << Utf16ToUtf8(text);
    }
}

TEST_F(SettingsStoreTest, ItemsStopAtTheFirstGapAndAtTwoHundred) {
    std::u16string text = u"[Program]\r\n";
    for (int k : {0, 1, 2, 3, 4, 6})
        text += u"Title" + DecimalText(k) + u"=Item " + DecimalText(k) + u"\r\n";
    text += u"Status2=0x0104\r\nIconIndex1=-1\r\nRunasFlag3=5\r\nArgumentName4=\"a b\" c\r\n";
    PutFile(kFile1, text);
    ItemList items = ReadItems(testing::Stored(store, 1), ItemSection::Program);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].Status, 0x104);
    EXPECT_EQ(items[1].IconIndex, -1);
    EXPECT_TRUE(items[3].RunasFlag);

    ASSERT_TRUE(store.WriteItems(1, ItemSection::Program, items));
    EXPECT_FALSE(Doc(kFile1).Get(u"Program", u"Title6")) << "items after the gap are dropped at the next write";
    EXPECT_EQ(ReadItems(testing::Stored(store, 1), ItemSection::Program), items);

    ItemList many(250);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i].Title = u"T" + DecimalText(static_cast<int64_t>(i));
    ASSERT_TRUE(store.WriteItems(1, ItemSection::System, many));
    EXPECT_EQ(ReadItems(testing::Stored(store, 1), ItemSection::System).size(), 200u);
}

TEST_F(SettingsStoreTest, ItemFieldsRoundTripWithUnicodeAndAwkwardCharacters) {
    ItemList items(1);
    items[0].Title = u"v\u65E5 = ; [x]";
    items[0].ArgumentName = u"--name=\"a;b\" x";
    items[0].DirectoryName = u" %TEMP% ";
    items[0].IconFileName = u"Vantrel.exe";
    items[0].ExeFileName = u"\"C:\\Program Files\\Tool\\t.exe\"";
    items[0].IconIndex = 5;
    items[0].Status = 0x4100;
    items[0].RunasFlag = true;
    ASSERT_TRUE(store.WriteItems(1, ItemSection::Program, items));
    EXPECT_EQ(ReadItems(testing::Stored(store, 1), ItemSection::Program), items);
}

TEST_F(SettingsStoreTest, AFailedWriteIsReportedAndLosesNothing) {
    PutFile(kFile1, u"[Option]\r\nColMax=9\r\n");
    const std::string before = files.files[kFile1];
    files.failWrites = true;
    EXPECT_FALSE(store.WriteOption(1, TOption()));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, kFile1);
    EXPECT_FALSE(failures[0].reason.empty());
    EXPECT_EQ(files.files[kFile1], before);
}

TEST_F(SettingsStoreTest, AnUnreadableFileIsNeverReplacedByDefaults) {
    PutFile(kFile1, u"[Program]\r\nTitle0=precious\r\n");
    const std::string before = files.files[kFile1];
    files.held[kFile1] = -1;
    EXPECT_FALSE(store.WriteCurrentEnvironment(EnvironmentList()));
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(files.files[kFile1], before);
}

TEST_F(SettingsStoreTest, EnvironmentListReadWithDefaultsAndWrittenWithoutUserNames) {
    PutFile(kFile1, u"[Option]\r\nIniNo=2\r\nIniMax=2\r\nIniName2=Work\r\nIniOrder2=3\r\nIniPopup2=1\r\n"
                    u"IniUserName2=alice\r\nIniName4=stale\r\n");
    EnvironmentList list = ReadEnvironmentList(testing::Stored(store, 1));
    EXPECT_EQ(list.IniNo, 2);
    EXPECT_EQ(list.Slot(1).IniName, u"Environment1");
    EXPECT_EQ(list.Slot(1).IniOrder, 1);
    EXPECT_EQ(list.Slot(2).IniName, u"Work");
    EXPECT_EQ(list.Slot(2).IniUserName, u"alice");
    EXPECT_EQ(list.CurrentFileNumber(), 3);
    EXPECT_EQ(list.Slot(4).IniOrder, -1) << "slots past IniMax are empty and not read";
    EXPECT_EQ(list.Slot(4).IniName, u"Environment4");

    ASSERT_TRUE(store.WriteEnvironmentList(list));
    ASSERT_TRUE(store.WriteCurrentEnvironment(list));
    const auto doc = Doc(kFile1);
    EXPECT_EQ(doc.Get(u"Option", u"IniOrder4"), u"-1");
    EXPECT_EQ(doc.Get(u"Option", u"IniName4"), u"Environment4");
    EXPECT_EQ(doc.Get(u"Option", u"IniUserName2"), u"alice") << "kept from the file, never written";
    EXPECT_EQ(ReadEnvironmentList(testing::Stored(store, 1)), list);
}

TEST_F(SettingsStoreTest, HandEditedEnvironmentListsStayUsable) {
    struct Case {
        const char16_t* text;
        int32_t iniNo, iniMax;
        std::array<int32_t, 5> orders;
    };
    const Case cases[] = {
        {u"IniNo=-7\r\nIniMax=99\r\n", 1, 5, {1, 2, 3, 4, 5}},
        {u"IniNo=4\r\nIniMax=2\r\n", 1, 2, {1, 2, -1, -1, -1}},
        {u"IniNo=2\r\nIniMax=3\r\nIniOrder1=2\r\nIniOrder2=2\r\nIniOrder3=77\r\n", 2, 3, {2, 1, 3, -1, -1}},
        {u"IniMax=0\r\nIniOrder1=junk\r\n", 1, 1, {1, -1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        PutFile(kFile1, std::u16string(u"[Option]\r\n") + c.text);
        const EnvironmentList list = ReadEnvironmentList(testing::Stored(store, 1));
        EXPECT_EQ(list.IniNo, c.iniNo) << Utf16ToUtf8(c.text);
        EXPECT_EQ(list.IniMax, c.iniMax) << Utf16ToUtf8(c.text);
        for (int32_t n = 1; n <= 5; ++n)
            EXPECT_EQ(list.Slot(n).IniOrder, c.orders[static_cast<std::size_t>(n - 1)]) << Utf16ToUtf8(c.text) << n;
    }
}

TEST_F(SettingsStoreTest, OldSettingsAreCopiedOnce) {
    const std::u16string oldFolder = kBase + u"\\vantrel\\";
    files.files[oldFolder + u"vantrel.ini"] = "one";
    files.files[oldFolder + u"vantrel3.ini"] = "three";
    store.MigrateSettingsFolder();
    EXPECT_EQ(files.files[kFile1], "one");
    EXPECT_EQ(files.files[kBase + u"\\vantrel64\\vantrel3.ini"], "three");
    EXPECT_FALSE(files.files.count(kBase + u"\\vantrel64\\vantrel2.ini"));

    files.files[kFile1] = "changed since";
    store.MigrateSettingsFolder();
    EXPECT_EQ(files.files[kFile1], "changed since");
    EXPECT_EQ(files.files[oldFolder + u"vantrel.ini"], "one") << "the old folder stays";
}

TEST_F(SettingsStoreTest, GarbageFilesNeverCrashAReader) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    garbage += "\n[Program]\nTitle0=" + std::string(1 << 20, 'x') + "\nTitle1\n=\n[Option]\nIniNo=\n";
    files.files[kFile1] = garbage;
    const ItemList items = ReadItems(testing::Stored(store, 1), ItemSection::Program);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Title.size(), kMaxFieldChars) << "a megabyte title is cut";
    EXPECT_EQ(ReadEnvironmentList(testing::Stored(store, 1)).IniNo, 1);
    (void)ReadOption(testing::Stored(store, 1));
}

} // namespace
} // namespace vantrel
