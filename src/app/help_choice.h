#pragma once
// Which compiled help file to open: the Japanese one on a Japanese user interface, the English one otherwise and
// whenever the Japanese one is missing.

#include <functional>
#include <string>

namespace vantrel {

struct HelpFileChoice {
    std::u16string file;     // the file to open; empty when none of the candidates exists
    std::u16string expected; // the file the language asks for
    std::u16string fallback; // the file tried next (empty when there is none)
};

HelpFileChoice ChooseHelpFile(const std::u16string& programFolder, const std::u16string& languageAbbreviation,
                              const std::function<bool(const std::u16string&)>& fileExists);

// What the help viewer is told: open this context topic of the file.
std::u16string HelpViewerArguments(const std::u16string& file, int32_t topic);

} // namespace vantrel
