#include "config/settings_files_win.h"

#include <gtest/gtest.h>

#include "win/window_win.h"

#include <functional>
#include <optional>

#include "config/temp_folder_win.h"
#include "win/strings_win.h"

namespace vantrel::config {
namespace {

using testing::PutFile;
using testing::TempFolder;
using win::FromWide;

class SettingsFilesTest : public ::testing::Test {
protected:
    TempFolder folder;
    Win32SettingsFiles files;

    std::u16string Path(const std::wstring& name) const { return FromWide(folder.Path(name)); }
    std::optional<std::string> Content(const std::u16string& path) {
        const FileContent content = files.ReadAll(path, 1 << 20);
        return content.outcome == FileContent::Outcome::Read ? std::optional(content.bytes) : std::nullopt;
    }
};

TEST_F(SettingsFilesTest, WriteReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    const std::u16string path = Path(L"vantrel.ini");
    std::u16string reason = u"untouched";
    ASSERT_TRUE(files.WriteAllAtomic(path, std::string("first, the longer content\0x", 27), &reason));
    EXPECT_EQ(Content(path), std::string("first, the longer content\0x", 27));
    ASSERT_TRUE(files.WriteAllAtomic(path, "second", &reason));
    EXPECT_EQ(Content(path), "second");
    ASSERT_TRUE(files.WriteAllAtomic(path, "", &reason));
    EXPECT_EQ(Content(path), "") << "an empty file exists and reads as empty";
    EXPECT_EQ(reason, u"untouched");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"vantrel.ini"});
}

// A file another program holds is never taken for a missing (empty) one, and a huge one costs no memory.
TEST_F(SettingsFilesTest, ReadTellsMissingHeldAndTooLargeApart) {
    using Outcome = FileContent::Outcome;
    PutFile(folder.Path(L"ten.ini"), "0123456789");
    const HANDLE holder =
        CreateFileW(folder.Path(L"ten.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FileContent held = files.ReadAll(Path(L"ten.ini"), 10);
    EXPECT_EQ(held.outcome, Outcome::Busy);
    EXPECT_FALSE(held.reason.empty());
    CloseHandle(holder);
    EXPECT_EQ(files.ReadAll(Path(L"ten.ini"), 10).bytes, "0123456789");
    EXPECT_EQ(files.ReadAll(Path(L"ten.ini"), 9).outcome, Outcome::TooLarge);
    EXPECT_EQ(files.ReadAll(Path(L"none\\vantrel.ini"), 10).outcome, Outcome::Missing);
}

TEST_F(SettingsFilesTest, FailedWriteKeepsTheOldFileAndSaysWhy) {
    struct Case {
        const char* what;
        std::wstring name;
        std::function<void(const std::wstring&)> prepare;
    };
    const Case cases[] = {
        {"folder missing", L"missing\\vantrel.ini", [](const std::wstring&) {}},
        {"read-only file", L"readonly.ini",
         [](const std::wstring& p) {
             PutFile(p, "old");
             SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY);
         }},
        {"folder in the way", L"folder.ini", [](const std::wstring& p) { CreateDirectoryW(p.c_str(), nullptr); }},
    };
    for (const auto& c : cases) {
        const std::wstring target = folder.Path(c.name);
        c.prepare(target);
        const auto before = folder.Names();
        const std::optional<std::string> oldContent = Content(FromWide(target));
        std::u16string reason;
        EXPECT_FALSE(files.WriteAllAtomic(FromWide(target), "new", &reason)) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_NE(reason.back(), u'\n') << c.what;
        EXPECT_EQ(Content(FromWide(target)), oldContent) << c.what;
        EXPECT_EQ(folder.Names(), before) << c.what << ": no temporary file left behind";
    }
}

TEST_F(SettingsFilesTest, FoldersFilesAndCopies) {
    const std::u16string deep = Path(L"a\\b/c");
    EXPECT_TRUE(files.CreateFolderTree(deep));
    EXPECT_TRUE(files.CreateFolderTree(deep + u"\\")) << "existing, with a trailing separator";
    EXPECT_FALSE(files.FileExists(deep)) << "a folder is not a settings file";
    PutFile(folder.Path(L"plain"), "x");
    EXPECT_FALSE(files.CreateFolderTree(Path(L"plain\\sub"))) << "a file stands in the way";

    EXPECT_FALSE(files.FileExists(Path(L"none.ini")));
    EXPECT_TRUE(files.FileExists(Path(L"plain")));
    PutFile(folder.Path(L"target"), "old, longer");
    std::u16string reason;
    EXPECT_TRUE(files.CopyOver(Path(L"plain"), Path(L"target"), &reason));
    EXPECT_EQ(Content(Path(L"target")), "x");
    EXPECT_FALSE(files.CopyOver(Path(L"none.ini"), Path(L"target"), &reason));
    EXPECT_FALSE(reason.empty()) << "a failed copy says why";
    EXPECT_EQ(Content(Path(L"target")), "x");
}

TEST(SettingsFilesText, SystemReasonAndAnsiCodePage) {
    const std::u16string denied = win::FromWide(win::SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), u'\n');
    EXPECT_NE(denied.back(), u'\r');
    EXPECT_FALSE(win::SystemErrorText(0xDEADBEEF).empty());
    if (GetACP() == 1252) {
        EXPECT_EQ(AnsiCodePageDecoder()("a\x80\xE9"), u"a\u20AC\u00E9");
    }
    EXPECT_EQ(AnsiCodePageDecoder()(""), u"");
}

} // namespace
} // namespace vantrel::config
