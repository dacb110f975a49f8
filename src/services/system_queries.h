#pragma once
// The few answers the platform-free code needs from the operating system. Production answers with Win32
// calls; tests describe a machine in a few lines.

#include <cstdint>
#include <string>

#include "core/records.h"

namespace vantrel {

class SystemQueries {
public:
    virtual ~SystemQueries() = default;

    // Environment-variable expansion of the whole text; unknown %names% stay as they are.
    virtual std::u16string ExpandEnvironment(const std::u16string& text) const = 0;
    virtual std::u16string SystemDirectory() const = 0;  // no trailing backslash
    virtual std::u16string WindowsDirectory() const = 0; // no trailing backslash
    virtual bool IsNtPlatform() const = 0;
    virtual bool FileExists(const std::u16string& path) const = 0; // a file, not a folder

    // Drives: bit n set when drive letter 'A' + n exists.
    virtual uint32_t LogicalDrives() const = 0;
    virtual bool IsRemoteDrive(const std::u16string& root) const = 0;
    // The shell's display name of a drive root, such as "Local Disk (C:)".
    virtual std::u16string DriveDisplayName(const std::u16string& root) const = 0;

    // Operating-system version number: major * 100 + minor, plus 1000 on the NT family.
    virtual int32_t WinVersion() const = 0;
    virtual int32_t OsBuildNumber() const = 0;
    // Helper-library answers; an unbound helper answers false.
    virtual bool HelperBound() const = 0;
    virtual bool IsWindows10() const = 0;
};

} // namespace vantrel
