#include "app/help_choice.h"

#include "app/resident.h"
#include "services/text.h"

namespace vantrel {

HelpFileChoice ChooseHelpFile(const std::u16string& programFolder, const std::u16string& languageAbbreviation,
                              const std::function<bool(const std::u16string&)>& fileExists) {
    HelpFileChoice choice;
    choice.expected = HelpFileName(programFolder, languageAbbreviation);
    const std::u16string english = HelpFileName(programFolder, u"");
    if (english != choice.expected)
        choice.fallback = english;
    if (fileExists(choice.expected))
        choice.file = choice.expected;
    else if (!choice.fallback.empty() && fileExists(choice.fallback))
        choice.file = choice.fallback;
    return choice;
}

std::u16string HelpViewerArguments(const std::u16string& file, int32_t topic) {
    return u"-mapid " + DecimalText(topic) + u" \"" + file + u"\"";
}

} // namespace vantrel
