#include "services/excluded_programs.h"

#include <gtest/gtest.h>

#include "services/text.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

TEST(ExcludedPrograms, TypedTextsBecomeFileNames) {
    const std::u16string longest = std::u16string(251, u'a') + u".exe";
    const struct {
        std::u16string typed;
        std::optional<std::u16string> name;
    } cases[] = {
        {u"mstsc.exe", u"mstsc.exe"},
        {u"  mstsc \t", u"mstsc.exe"}, // no extension: a program
        {u"\"C:\\Program Files\\Oracle\\VirtualBoxVM.exe\"", u"VirtualBoxVM.exe"},
        {u"C:/Games/game.EXE", u"game.EXE"},
        {u"launcher.bat", u"launcher.bat"},
        {longest, longest},
        {u"a" + longest, std::nullopt},
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"C:\\Windows\\", std::nullopt}, // a folder
        {u"a|b.exe", std::nullopt},       // would split the stored list
        {u"what?.exe", std::nullopt},
        {u"..", std::nullopt},
        {u"name.", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramFileName(c.typed), c.name) << Utf16ToUtf8(c.typed);
}

TEST(ExcludedPrograms, AddingStopsAtDuplicatesAndThirtyTwoNames) {
    std::vector<std::u16string> list{u"mstsc.exe", u"Game.exe"};
    EXPECT_EQ(CheckExclusion(list, u"notepad").check, ExclusionCheck::Addable);
    const ExclusionCandidate again = CheckExclusion(list, u"C:\\GAMES\\game.exe");
    EXPECT_EQ(again.check, ExclusionCheck::AlreadyListed);
    EXPECT_EQ(again.listedAt, 1u);
    EXPECT_EQ(CheckExclusion(list, u"a*b").check, ExclusionCheck::Invalid);
    while (list.size() < kMaxExcludedPrograms - 1)
        list.push_back(u"p" + DecimalText(static_cast<int64_t>(list.size())) + u".exe");
    EXPECT_EQ(CheckExclusion(list, u"last.exe").check, ExclusionCheck::Addable) << "the 32nd";
    list.push_back(u"last.exe");
    EXPECT_EQ(CheckExclusion(list, u"more.exe").check, ExclusionCheck::ListFull);
    EXPECT_EQ(CheckExclusion(list, u"LAST.EXE").check, ExclusionCheck::AlreadyListed) << "not 'full'";
}

TEST(ExcludedPrograms, TheForegroundProgramMatchesByFileNameInAnyCase) {
    const std::vector<std::u16string> list{u"notepad.exe", u"mstsc.exe"};
    EXPECT_TRUE(IsExcludedProgram(list, u"C:\\windows\\system32\\NOTEPAD.EXE"));
    EXPECT_TRUE(IsExcludedProgram(list, u"mstsc.exe"));
    EXPECT_FALSE(IsExcludedProgram(list, u"C:\\tools\\notepad.exe.old"));
    EXPECT_FALSE(IsExcludedProgram(list, u"C:\\notepad.exe\\game.exe")) << "a folder of that name";
    EXPECT_FALSE(IsExcludedProgram(list, u"")) << "no window in front";
}

TEST(ExcludedPrograms, StoredValueRoundTripsAndHandEditsAreCleaned) {
    const std::vector<std::u16string> list{u"mstsc.exe", u"\u30b2\u30fc\u30e0.exe"};
    EXPECT_EQ(DecodeExcludedPrograms(EncodeExcludedPrograms(list)), list);
    EXPECT_EQ(EncodeExcludedPrograms({}), u"");
    EXPECT_EQ(DecodeExcludedPrograms(u"a.exe|| A.EXE |b?.exe|c|C:\\x\\d.exe"),
              (std::vector<std::u16string>{u"a.exe", u"c.exe", u"d.exe"}));
    std::u16string many;
    for (int i = 0; i < 40; ++i)
        many += u"p" + DecimalText(i) + u".exe|";
    const auto read = DecodeExcludedPrograms(many);
    ASSERT_EQ(read.size(), kMaxExcludedPrograms);
    EXPECT_EQ(read.back(), u"p31.exe");
}

TEST(ExcludedPrograms, RunningProgramsToPickFrom) {
    const std::vector<std::u16string> running{
        u"C:\\windows\\notepad.exe", u"C:\\b\\vantrel.exe",     u"D:\\Zed.exe",
        u"C:\\other\\NOTEPAD.EXE",   u"C:\\windows\\mstsc.exe", u"C:\\apps\\alpha.exe"};
    EXPECT_EQ(PickableProgramNames(running, {u"MSTSC.exe"}, {u"c:\\B\\vantrel.exe"}),
              (std::vector<std::u16string>{u"alpha.exe", u"notepad.exe", u"Zed.exe"}));
}

} // namespace
} // namespace vantrel
