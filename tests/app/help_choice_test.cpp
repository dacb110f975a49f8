#include "app/help_choice.h"

#include <set>

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(HelpChoice, LanguagePicksTheFileAndJapaneseFallsBackToEnglish) {
    const std::u16string ja = u"C:\\P\\vantrelj.chm";
    const std::u16string en = u"C:\\P\\vantrel.chm";
    struct Case {
        std::u16string language;
        std::set<std::u16string> present;
        std::u16string file;
        std::u16string fallback;
    };
    const Case cases[] = {
        {u"JPN", {ja, en}, ja, en},  {u"JPN", {en}, en, en},   {u"JPN", {}, u"", en},
        {u"ENU", {ja, en}, en, u""}, {u"ENU", {ja}, u"", u""}, {u"", {en}, en, u""},
    };
    for (const Case& c : cases) {
        const HelpFileChoice choice = ChooseHelpFile(
            u"C:\\P", c.language, [&](const std::u16string& path) { return c.present.count(path) != 0; });
        EXPECT_EQ(choice.file, c.file);
        EXPECT_EQ(choice.fallback, c.fallback);
        EXPECT_EQ(choice.expected, c.language == u"JPN" ? ja : en);
    }
}

TEST(HelpChoice, ViewerOpensTheContextTopic) {
    EXPECT_EQ(HelpViewerArguments(u"C:\\Program Files\\vantrel\\vantrel.chm", 14),
              u"-mapid 14 \"C:\\Program Files\\vantrel\\vantrel.chm\"");
}

} // namespace
} // namespace vantrel
