#pragma once
// The names a loaded library exports, read from its export directory, so a test sees exactly what a host
// that looks functions up by name would find.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel::testing {

// Sorted; empty for a module without an export directory.
inline std::vector<std::string> ExportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (!entry.VirtualAddress)
        return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.emplace_back(reinterpret_cast<const char*>(base + nameTable[i]));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vantrel::testing
