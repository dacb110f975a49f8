#include "config/settings_location.h"

#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "config/settings_values.h"
#include "services/text.h"
#include "support/fake_files.h"
#include "support/stored_settings.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

using testing::FakeFiles;

const std::u16string kAppData = u"C:\\Users\\me\\AppData\\Roaming";

TEST(SettingsLocation, TheMarkerBesideTheProgramDecides) {
    struct Case {
        const char* name;
        std::u16string programFolder;
        std::u16string markerAt; // the one file present, if any
        SettingsLocation expected;
    };
    const SettingsLocation installed{kAppData + u"\\vantrel64", kAppData + u"\\vantrel", false};
    const Case cases[] = {
        {"installed copy", u"C:\\Users\\me\\AppData\\Local\\Programs\\vantrel", u"", installed},
        {"unpacked zip",
         u"E:\\tools\\vantrel",
         u"E:\\tools\\vantrel\\vantrel.portable",
         {u"E:\\tools\\vantrel", u"", true}},
        {"program at a drive's root", u"E:", u"E:\\vantrel.portable", {u"E:", u"", true}},
        {"marker in a subfolder only", u"E:\\vantrel", u"E:\\vantrel\\sub\\vantrel.portable", installed},
        {"marker in the settings folder only", u"E:\\vantrel", kAppData + u"\\vantrel64\\vantrel.portable", installed},
        {"marker name as a prefix only", u"E:\\vantrel", u"E:\\vantrel\\vantrel.portable.txt", installed},
        {"no folder of its own", u"", u"\\vantrel.portable", installed},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        if (!c.markerAt.empty())
            files.files[c.markerAt] = "portable";
        EXPECT_EQ(ChooseSettingsLocation(files, c.programFolder, kAppData), c.expected) << c.name;
        EXPECT_EQ(files.writes, 0) << c.name << ": deciding writes nothing";
    }
}

TEST(SettingsLocation, PathsJoinWithOneSeparator) {
    EXPECT_EQ(PathInFolder(u"E:\\vantrel", u"vantrel.ini"), u"E:\\vantrel\\vantrel.ini");
    EXPECT_EQ(PathInFolder(u"E:", u"vantrel.ini"), u"E:\\vantrel.ini");
    EXPECT_EQ(PathInFolder(u"E:\\", u"vantrel.ini"), u"E:\\vantrel.ini");
    EXPECT_EQ(PathInFolder(u"\\\\server\\share\\", u"vantrel2.ini"), u"\\\\server\\share\\vantrel2.ini");
}

class PortableStoreTest : public ::testing::Test {
protected:
    const std::u16string folder = u"E:\\vantrel";
    FakeFiles files;
    std::vector<SettingsFailure> failures;
    SettingsStore store{files, SettingsLocation{folder, u"", true}, config::DecodeWindows1252,
                        [this](const SettingsFailure& failure) { failures.push_back(failure); }};
};

TEST_F(PortableStoreTest, FilesLiveBesideTheProgram) {
    EXPECT_EQ(store.FileName(1), folder + u"\\vantrel.ini");
    EXPECT_EQ(store.FileName(5), folder + u"\\vantrel5.ini");
    TOption option;
    option.ColMax = 11;
    ASSERT_TRUE(store.WriteOption(1, option));
    EXPECT_TRUE(files.files.count(folder + u"\\vantrel.ini"));
    EXPECT_EQ(ReadOption(testing::Stored(store, 1)).ColMax, 11);
    for (const auto& [path, bytes] : files.files)
        EXPECT_EQ(path.rfind(folder + u"\\", 0), 0u) << Utf16ToUtf8(path) << " is outside the portable folder";
}

TEST_F(PortableStoreTest, SettingsOfTheMachineAreNotCopiedIn) {
    files.files[kAppData + u"\\vantrel\\vantrel.ini"] = "[Option]\r\nColMax=9\r\n";
    files.files[kAppData + u"\\vantrel64\\vantrel.ini"] = "[Option]\r\nColMax=8\r\n";
    store.MigrateSettingsFolder();
    EXPECT_FALSE(files.files.count(folder + u"\\vantrel.ini"));
    EXPECT_EQ(ReadOption(testing::Stored(store, 1)).ColMax, TOption().ColMax);
}

TEST_F(PortableStoreTest, AFailedWriteNamesTheFolderAndTheWayOut) {
    files.failWrites = true;
    EXPECT_FALSE(store.WriteOption(1, TOption()));
    ASSERT_EQ(failures.size(), 1u);
    const std::u16string text = SettingsFailureMessage(failures[0], store.Location());
    EXPECT_NE(text.find(folder + u"\\vantrel.ini"), std::u16string::npos) << "the file";
    EXPECT_NE(text.find(u"not enough space"), std::u16string::npos) << "the system's reason";
    EXPECT_NE(text.find(u"portable and keeps its settings in its own folder:\n" + folder + u"\n"), std::u16string::npos)
        << Utf16ToUtf8(text);
    EXPECT_NE(text.find(u"delete the file vantrel.portable"), std::u16string::npos) << Utf16ToUtf8(text);
}

TEST(SettingsLocation, AnInstalledCopyKeepsItsMessageAndItsMove) {
    FakeFiles files;
    files.files[kAppData + u"\\vantrel\\vantrel.ini"] = "[Option]\r\nColMax=9\r\n";
    SettingsStore store{files, ChooseSettingsLocation(files, u"C:\\Programs\\vantrel", kAppData),
                        config::DecodeWindows1252, [](const SettingsFailure&) {}};
    store.MigrateSettingsFolder();
    EXPECT_EQ(ReadOption(testing::Stored(store, 1)).ColMax, 9)
        << "an older folder is still copied for an installed copy";

    const SettingsFailure failure{kAppData + u"\\vantrel64\\vantrel.ini", u"Access is denied."};
    EXPECT_EQ(SettingsFailureMessage(failure, store.Location()),
              u"The settings could not be saved to\n" + failure.path +
                  u"\n\nAccess is denied.\n\nThe settings in use are kept; the file on disk is unchanged.");
}

} // namespace
} // namespace vantrel
