#include "services/item_services.h"

#include <gtest/gtest.h>

#include "services/text.h"
#include "support/fake_system.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

using testing::FakeIcons;

TEST(ItemTexts, KeywordsDriveRootsAndRunnableFiles) {
    const std::pair<const char16_t*, int32_t> folders[] = {
        {u"ControlPanel", 3}, {u"MyComputer", 17}, {u"DustBox", 10},   {u"NetWork", 18}, {u"Printer", 4},
        {u"MyDocument", 5},   {u"Elsewhere", 0},   {u"mycomputer", 0}, // keywords are compared exactly
    };
    for (const auto& [keyword, id] : folders)
        EXPECT_EQ(SpecialFolderId(keyword), id) << Utf16ToUtf8(keyword);

    for (const char16_t* yes : {u"C:\\", u"z:\\"})
        EXPECT_TRUE(IsDriveRoot(yes));
    for (const char16_t* no : {u"C:", u"C:\\x", u"1:\\", u"C;\\", u"C:/", u"", u"\u00C4:\\"})
        EXPECT_FALSE(IsDriveRoot(no));

    for (const char16_t* yes : {u"C:\\a\\Setup.EXE", u"go.bat", u"x.v2.Cmd"})
        EXPECT_TRUE(IsRunnableFile(yes));
    for (const char16_t* no : {u"C:\\exe\\readme.txt", u"noextension", u"C:\\a.exe\\folder"})
        EXPECT_FALSE(IsRunnableFile(no));
}

TEST(ItemTexts, RunasCandidates) {
    RData program;
    program.ExeFileName = u"C:\\Tools\\a.exe";
    EXPECT_TRUE(IsRunasCandidate(program));
    program.ExeFileName = u"C:\\Docs\\notes.txt";
    EXPECT_FALSE(IsRunasCandidate(program));

    RData prompt;
    prompt.Status = 5;
    prompt.ExeFileName = u"C:\\Windows\\System32\\CMD.EXE";
    EXPECT_TRUE(IsRunasCandidate(prompt));
    prompt.ExeFileName = u"C:\\Windows\\System32\\powershell.exe";
    EXPECT_FALSE(IsRunasCandidate(prompt)) << "built-in items qualify only for the command prompt";
}

TEST(ItemTexts, ShortcutTitles) {
    EXPECT_EQ(ShortcutTitle(u"C:\\Users\\me\\Desktop\\My Tool.v2.lnk"), u"My Tool");
    EXPECT_EQ(ShortcutTitle(u"D:Game.lnk"), u"Game");
    EXPECT_EQ(ShortcutTitle(u"plain"), u"plain");
    EXPECT_EQ(ShortcutTitle(u"C:\\dir.d\\name"), u"name");
    EXPECT_EQ(ShortcutTitle(u""), u"");
}

class ResolveItemIconTest : public ::testing::Test {
protected:
    FakeIcons icons;
    std::u16string Resolve(int32_t status, const std::u16string& file, int32_t index) {
        return icons.Describe(ResolveItemIcon(status, file, index, icons).Get());
    }
};

TEST_F(ResolveItemIconTest, AssociatedIconsAndTheirFallbacks) {
    icons.paths = {u"C:\\Docs\\a.txt", u"C:\\Docs"};
    icons.shellIconPaths = {u"D:\\"};
    EXPECT_EQ(Resolve(StatusShellIcon, u"MyComputer", -1), u"special:MyComputer");
    EXPECT_EQ(Resolve(StatusShellIcon, u"Printer", -1), u"default-file") << "no blank cell";
    EXPECT_EQ(Resolve(0, u"D:\\", -1), u"shell:D:\\");
    EXPECT_EQ(Resolve(0, u"Q:\\", -1), u"default-file");
    EXPECT_EQ(Resolve(0, u"C:\\Docs\\a.txt", -1), u"assoc:C:\\Docs\\a.txt");
    EXPECT_EQ(Resolve(0, u"C:\\Docs", -1), u"assoc:C:\\Docs");
    EXPECT_EQ(Resolve(0, u"C:\\Missing\\b.txt", -1), u"default-file");
}

TEST_F(ResolveItemIconTest, NumberedIconsAndTheirFallbacks) {
    icons.paths = {u"C:\\Tools\\two.exe", u"C:\\Tools\\two.dll", u"C:\\Tools\\old.COM", u"C:\\Tools\\vantrel.exe"};
    icons.iconCounts = {{u"C:\\Tools\\two.exe", 2}, {u"C:\\Tools\\two.dll", 2}, {u"C:\\Tools\\vantrel.exe", 8}};
    EXPECT_EQ(Resolve(0, u"C:\\Tools\\two.exe", 1), u"extract:C:\\Tools\\two.exe#1");
    EXPECT_EQ(Resolve(0, u"C:\\Tools\\two.exe", 3), u"default-program");
    EXPECT_EQ(Resolve(0, u"C:\\Tools\\old.COM", 0), u"default-program");
    EXPECT_EQ(Resolve(0, u"C:\\Tools\\two.dll", 3), u"default-file");
    EXPECT_EQ(Resolve(0, u"C:\\Nowhere\\x.exe", 0), u"default-file");
    EXPECT_EQ(Resolve(0, u"VANTREL.EXE", 5), u"extract:C:\\Tools\\vantrel.exe#5");
}

TEST_F(ResolveItemIconTest, TheSharedIconsAreBorrowedAndAnOwnedIconGoesWithItsLastReference) {
    icons.paths = {u"C:\\a.txt"};
    {
        const IconRef fallback = ResolveItemIcon(0, u"C:\\missing.txt", -1, icons);
        EXPECT_EQ(fallback.Get(), FakeIcons::kFileIcon);
        EXPECT_EQ(icons.Own(FakeIcons::kProgramIcon).Get(), FakeIcons::kProgramIcon);
        EXPECT_FALSE(icons.Own(0)) << "nothing to hold";
    }
    EXPECT_TRUE(icons.destroyed.empty()) << "the shared icons are never destroyed through an item";

    IconRef own = ResolveItemIcon(0, u"C:\\a.txt", -1, icons);
    const IconHandle handle = own.Get();
    IconRef copy = own;
    own = IconRef();
    EXPECT_TRUE(icons.destroyed.empty()) << "a copy still refers to it";
    copy = IconRef::Borrowed(FakeIcons::kFileIcon);
    EXPECT_EQ(icons.destroyed.count(handle), 1u);
    EXPECT_EQ(icons.destroyed.size(), 1u);
}

TEST_F(ResolveItemIconTest, TheIconsOfAFileAreCountedUpToTheLimitAndNoneIsKept) {
    icons.iconCounts = {{u"C:\\five.dll", 5}};
    EXPECT_EQ(icons.IconCount(u"C:\\five.dll", 100), 5u);
    EXPECT_EQ(icons.IconCount(u"C:\\five.dll", 2), 2u);
    EXPECT_EQ(icons.IconCount(u"C:\\notes.txt", 100), 0u);
    EXPECT_TRUE(icons.live.empty());
}

TEST_F(ResolveItemIconTest, IconsAreResolvedAgainAtANewSize) {
    icons.paths = {u"C:\\a.exe", u"C:\\doc.txt"};
    icons.iconCounts[u"C:\\a.exe"] = 1;
    ItemList items(3);
    items[0].IconFileName = u"C:\\a.exe";
    items[1].IconFileName = u"C:\\doc.txt";
    items[1].IconIndex = -1;
    items[2].IconFileName = u"C:\\gone.exe"; // the shared program icon
    for (RData& item : items)
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    const IconHandle oldProgram = items[0].Icon.Get();
    ItemList kept = items; // a dialog's copy for Cancel
    EXPECT_EQ(icons.IconSize(), 32);
    icons.SetIconSize(48);
    ResolveIconsAgain(items, icons);
    EXPECT_NE(items[0].Icon.Get(), oldProgram);
    EXPECT_EQ(icons.Describe(items[0].Icon.Get()), u"extract:C:\\a.exe#0@48");
    EXPECT_EQ(icons.Describe(items[1].Icon.Get()), u"assoc:C:\\doc.txt@48");
    EXPECT_EQ(items[2].Icon.Get(), FakeIcons::kFileIcon);
    EXPECT_EQ(icons.destroyed.count(oldProgram), 0u) << "the kept copy still shows it";
    EXPECT_EQ(kept[0].Icon.Get(), oldProgram);
    items.clear();
    kept.clear();
    EXPECT_EQ(icons.destroyed.count(oldProgram), 1u);
    EXPECT_EQ(icons.destroyed.count(FakeIcons::kFileIcon), 0u) << "the shared icons are never destroyed";
    icons.SetIconSize(0);
    EXPECT_EQ(icons.IconSize(), 32);
}

} // namespace
} // namespace vantrel
