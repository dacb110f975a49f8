#include "services/path_macros.h"

#include <gtest/gtest.h>

#include "services/text.h"
#include "support/fake_system.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

using testing::FakeSystem;

struct MacroCase {
    const char16_t* input;
    const char16_t* expected;
};

TEST(ExpandPathMacros, RecognisesMacrosOnlyAtTheStartInAnyCase) {
    FakeSystem system;
    const MacroCase cases[] = {
        {u"%sysdir%\\Shell32.Dll", u"C:\\Windows\\system32\\Shell32.Dll"},
        {u"%SYSDIR%\\x.dll", u"C:\\Windows\\system32\\x.dll"},
        {u"%sysdir%", u"C:\\Windows\\system32"},
        {u"D:\\%sysdir%\\x", u"D:\\%sysdir%\\x"},
        {u"%VantrelDosCommand%", u"C:\\Windows\\system32\\cmd.exe"},
        {u"%vantreldosicon%", u"C:\\Windows\\system32\\cmd.exe"},
        {u"%TEMP%\\a.txt", u"C:\\Users\\me\\Temp\\a.txt"},
        {u"%NoSuchVariable%\\a", u"%NoSuchVariable%\\a"},
        {u"%InternetExplorer%\\ignored tail", u"C:\\Program Files\\Internet Explorer\\iexplore.exe"},
        {u"", u""},
        {u"%sysdi", u"%sysdi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandPathMacros(c.input, system), c.expected) << Utf16ToUtf8(c.input);
}

TEST(ExpandPathMacros, CommandInterpreterOnTheOlderPlatform) {
    FakeSystem system;
    system.nt = false;
    system.systemDirectory = u"C:\\WINDOWS\\SYSTEM";
    EXPECT_EQ(ExpandPathMacros(u"%VantrelDosCommand%", system), u"C:\\Windows\\command.com");
    EXPECT_EQ(ExpandPathMacros(u"%VantrelDosIcon%", system), u"C:\\WINDOWS\\SYSTEM\\WINOA386.MOD");
}

TEST(ExpandPathMacros, EdgeIsLookedForInBothProgramFolders) {
    FakeSystem system;
    EXPECT_EQ(ExpandPathMacros(u"%MicrosoftEdge%", system), u"");

    system.files.insert(u"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe");
    EXPECT_EQ(ExpandPathMacros(u"%MicrosoftEdge%", system),
              u"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe");

    system.files.insert(u"C:\\Program Files\\Microsoft\\Edge\\Application\\msedge.exe");
    EXPECT_EQ(ExpandPathMacros(u"%microsoftedge%", system),
              u"C:\\Program Files\\Microsoft\\Edge\\Application\\msedge.exe");
}

TEST(ExpandPathMacros, LongExpansionsAreNotCut) {
    FakeSystem system;
    system.environment[u"DEEP"] = std::u16string(400, u'd');
    const auto result = ExpandPathMacros(u"%DEEP%\\file.exe", system);
    EXPECT_EQ(result.size(), 409u);
    EXPECT_EQ(result.substr(400), u"\\file.exe");
}

} // namespace
} // namespace vantrel
