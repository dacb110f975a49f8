#pragma once
// The programs vantrel leaves alone: neither trigger acts while a window of one of them is in front. The list
// holds program file names ("mstsc.exe"), compared with the file name of the program that owns the foreground
// window, without regard to the case of ASCII letters (the names picked from running windows carry the system's
// own spelling).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

constexpr std::size_t kMaxExcludedPrograms = 32;

// The file name a typed text stands for: spaces and one pair of quotes around it dropped, the folders of a
// pasted path dropped, and ".exe" added to a name without an extension ("mstsc" is "mstsc.exe"). nullopt for
// nothing, or for a name no file can have (a character Windows refuses in file names, "." or "..", a name ending
// in a dot or longer than a file name can be).
std::optional<std::u16string> ProgramFileName(std::u16string_view typed);

// Whether a typed text can be added to the list, and as what.
enum class ExclusionCheck { Addable, Invalid, AlreadyListed, ListFull };
struct ExclusionCandidate {
    ExclusionCheck check = ExclusionCheck::Invalid;
    std::u16string name;      // the file name (also for AlreadyListed)
    std::size_t listedAt = 0; // the line holding it, for AlreadyListed
};
ExclusionCandidate CheckExclusion(const std::vector<std::u16string>& list, std::u16string_view typed);

// Whether the program at this path (a full path or a bare file name) is in the list.
bool IsExcludedProgram(const std::vector<std::u16string>& list, std::u16string_view programPath);

// The names of the running programs to pick from: the file names of the given program paths, each once, sorted
// without regard to case, leaving out those already listed and the paths in `leaveOut` (vantrel itself).
std::vector<std::u16string> PickableProgramNames(const std::vector<std::u16string>& programPaths,
                                                 const std::vector<std::u16string>& list,
                                                 const std::vector<std::u16string>& leaveOut);

// The list as one settings value, names joined by '|' (which no file name holds), and back. Reading keeps the
// first 32 valid names in their order and drops duplicates and names no file can have, so a hand-edited value
// never yields a list the dialog could not show.
std::u16string EncodeExcludedPrograms(const std::vector<std::u16string>& list);
std::vector<std::u16string> DecodeExcludedPrograms(std::u16string_view value);

} // namespace vantrel
