#include "services/excluded_programs.h"

#include <algorithm>

#include "services/text.h"

namespace vantrel {

namespace {

// The longest name a file system component can have.
constexpr std::size_t kMaxFileNameChars = 255;
constexpr char16_t kSeparator = u'|';

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000; // the ideographic space of a Japanese input method too
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::u16string_view LeafOf(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool RefusedInFileName(char16_t c) {
    return c < 0x20 || std::u16string_view(u"<>:\"|?*").find(c) != std::u16string_view::npos;
}

std::optional<std::size_t> Find(const std::vector<std::u16string>& list, std::u16string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (EqualsNoCase(list[i], name))
            return i;
    return std::nullopt;
}

} // namespace

std::optional<std::u16string> ProgramFileName(std::u16string_view typed) {
    std::u16string_view text = Trimmed(typed);
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        text = Trimmed(text.substr(1, text.size() - 2));
    // A pasted path names its program by its last part; a path that ends in a folder names none.
    const std::u16string_view leaf = Trimmed(LeafOf(text));
    if (leaf.empty() || leaf == u"." || leaf == u".." || leaf.back() == u'.')
        return std::nullopt;
    if (std::any_of(leaf.begin(), leaf.end(), RefusedInFileName))
        return std::nullopt;
    std::u16string name(leaf);
    if (name.find(u'.') == std::u16string::npos)
        name += u".exe";
    if (name.size() > kMaxFileNameChars)
        return std::nullopt;
    return name;
}

ExclusionCandidate CheckExclusion(const std::vector<std::u16string>& list, std::u16string_view typed) {
    ExclusionCandidate candidate;
    const auto name = ProgramFileName(typed);
    if (!name)
        return candidate;
    candidate.name = *name;
    if (const auto at = Find(list, *name)) {
        candidate.check = ExclusionCheck::AlreadyListed;
        candidate.listedAt = *at;
    } else {
        candidate.check = list.size() >= kMaxExcludedPrograms ? ExclusionCheck::ListFull : ExclusionCheck::Addable;
    }
    return candidate;
}

bool IsExcludedProgram(const std::vector<std::u16string>& list, std::u16string_view programPath) {
    const std::u16string_view leaf = LeafOf(programPath);
    return !leaf.empty() && Find(list, leaf).has_value();
}

std::vector<std::u16string> PickableProgramNames(const std::vector<std::u16string>& programPaths,
                                                 const std::vector<std::u16string>& list,
                                                 const std::vector<std::u16string>& leaveOut) {
    std::vector<std::u16string> names;
    for (const std::u16string& path : programPaths) {
        const bool ours = std::any_of(leaveOut.begin(), leaveOut.end(),
                                      [&](const std::u16string& own) { return EqualsNoCase(own, path); });
        const std::u16string_view leaf = LeafOf(path);
        if (ours || leaf.empty() || Find(list, leaf) || Find(names, leaf))
            continue;
        names.emplace_back(leaf);
    }
    std::sort(names.begin(), names.end(),
              [](const std::u16string& a, const std::u16string& b) { return AsciiLower(a) < AsciiLower(b); });
    return names;
}

std::u16string EncodeExcludedPrograms(const std::vector<std::u16string>& list) {
    std::u16string value;
    for (const std::u16string& name : list) {
        if (!value.empty())
            value += kSeparator;
        value += name;
    }
    return value;
}

std::vector<std::u16string> DecodeExcludedPrograms(std::u16string_view value) {
    std::vector<std::u16string> list;
    while (!value.empty() && list.size() < kMaxExcludedPrograms) {
        const auto end = value.find(kSeparator);
        const std::u16string_view part = value.substr(0, end);
        value = end == std::u16string_view::npos ? std::u16string_view() : value.substr(end + 1);
        const auto candidate = CheckExclusion(list, part);
        if (candidate.check == ExclusionCheck::Addable)
            list.push_back(candidate.name);
    }
    return list;
}

} // namespace vantrel
