#pragma once
// The temporary files a settings write goes through. Each write puts the new content into
// "<target>.<process>-<n>.tmp" beside the target (process and n in lower-case hexadecimal) and then moves it
// over the target; a write cut short by a crash or a power cut leaves that file behind.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel::config {

std::u16string TemporaryFileName(const std::u16string& target, uint32_t processId, uint32_t n);

// Whether a file name (without folder) is a temporary file of one of the five settings files. Nothing else in
// the settings folder matches: not another program's ".tmp" file, not a backup the user made.
bool IsSettingsTemporaryFile(std::u16string_view name);

} // namespace vantrel::config
