#pragma once
// The Win32 answers behind SystemQueries and IconSource.

#include <windows.h>

#include <map>
#include <string>

#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel::win {

class Win32SystemQueries : public SystemQueries {
public:
    Win32SystemQueries();
    // The helper library is bound after start-up has begun; its answers arrive here.
    void SetHelperAnswers(bool bound, bool windows10) {
        helperBound_ = bound;
        windows10_ = windows10;
    }

    std::u16string ExpandEnvironment(const std::u16string& text) const override;
    std::u16string SystemDirectory() const override { return systemDirectory_; }
    std::u16string WindowsDirectory() const override { return windowsDirectory_; }
    bool IsNtPlatform() const override { return winVersion_ >= 1000; }
    bool FileExists(const std::u16string& path) const override;
    uint32_t LogicalDrives() const override;
    bool IsRemoteDrive(const std::u16string& root) const override;
    std::u16string DriveDisplayName(const std::u16string& root) const override;
    int32_t WinVersion() const override { return winVersion_; }
    int32_t OsBuildNumber() const override { return buildNumber_; }
    bool HelperBound() const override { return helperBound_; }
    bool IsWindows10() const override { return helperBound_ && windows10_; }

private:
    std::u16string systemDirectory_;
    std::u16string windowsDirectory_;
    int32_t winVersion_;
    int32_t buildNumber_;
    bool helperBound_ = false;
    bool windows10_ = false;
};

class Win32IconSource : public IconSource {
public:
    // The two shared fallback icons (icons 0 and 2 of the system's Shell32.dll) are loaded when first asked for at
    // each icon size; they live until the object goes away, after every item that may use them.
    explicit Win32IconSource(const SystemQueries& system);
    ~Win32IconSource() override;
    Win32IconSource(const Win32IconSource&) = delete;
    Win32IconSource& operator=(const Win32IconSource&) = delete;

    IconHandle SpecialFolderIcon(const std::u16string& keyword) override;
    IconHandle ShellIcon(const std::u16string& path) override;
    IconHandle AssociatedIcon(const std::u16string& path) override;
    IconHandle ExtractIconAt(const std::u16string& path, int32_t index) override;
    bool PathExists(const std::u16string& path) override;
    std::u16string OwnExePath() override;
    void DestroyIcon(IconHandle icon) override;
    IconHandle DefaultFileIcon() const override { return Fallbacks().file; }
    IconHandle DefaultProgramIcon() const override { return Fallbacks().program; }
    bool IsSharedIcon(IconHandle icon) const override;
    std::size_t IconCount(const std::u16string& path, std::size_t limit) override;
    std::vector<IconHandle> ExtractIcons(const std::u16string& path, int32_t first, int32_t count) override;

protected:
    // Icons are destroyed by the system alone: a reference may outlive this object without harm.
    IconRef::Destroyer IconDestroyer() override;

private:
    struct Fallback {
        IconHandle file = 0;
        IconHandle program = 0;
    };
    // The fallback icons at the current size, loaded the first time that size is asked for.
    const Fallback& Fallbacks() const;

    std::wstring shell32_;
    mutable std::map<int32_t, Fallback> fallbacks_; // by icon size
};

// Icon `index` of a file (a negative index names a resource) at exactly `size` pixels, from the file's own image of
// that size or the nearest one: the sharp picture for the screen, not a 32-pixel image stretched. Null when the file
// has no such icon; the caller owns the icon.
HICON ExtractSized(const wchar_t* path, int index, int size);

inline HICON ToHicon(IconHandle icon) {
    return reinterpret_cast<HICON>(icon);
}
inline IconHandle FromHicon(HICON icon) {
    return reinterpret_cast<IconHandle>(icon);
}

} // namespace vantrel::win
