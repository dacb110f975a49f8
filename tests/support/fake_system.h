#pragma once
// A machine described in a few lines, for the platform-free models.

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel::testing {

class FakeSystem : public SystemQueries {
public:
    std::map<std::u16string, std::u16string> environment{{u"TEMP", u"C:\\Users\\me\\Temp"},
                                                         {u"APPDATA", u"C:\\Users\\me\\AppData\\Roaming"}};
    std::u16string systemDirectory = u"C:\\Windows\\system32";
    std::u16string windowsDirectory = u"C:\\Windows";
    bool nt = true;
    std::set<std::u16string> files;
    uint32_t drives = 1u << 2; // C:
    std::set<char16_t> remoteDrives;
    std::map<char16_t, std::u16string> driveNames{{u'C', u"Local Disk (C:)"}};
    int32_t winVersion = 1602;
    int32_t buildNumber = 19045;
    bool helperBound = false;
    bool windows10 = false;

    std::u16string ExpandEnvironment(const std::u16string& text) const override {
        std::u16string out;
        for (std::size_t i = 0; i < text.size();) {
            const auto close = text[i] == u'%' ? text.find(u'%', i + 1) : std::u16string::npos;
            if (close != std::u16string::npos) {
                const auto it = environment.find(text.substr(i + 1, close - i - 1));
                if (it != environment.end()) {
                    out += it->second;
                    i = close + 1;
                    continue;
                }
            }
            out += text[i++];
        }
        return out;
    }
    std::u16string SystemDirectory() const override { return systemDirectory; }
    std::u16string WindowsDirectory() const override { return windowsDirectory; }
    bool IsNtPlatform() const override { return nt; }
    bool FileExists(const std::u16string& path) const override { return files.count(path) != 0; }
    uint32_t LogicalDrives() const override { return drives; }
    bool IsRemoteDrive(const std::u16string& root) const override { return remoteDrives.count(root[0]) != 0; }
    std::u16string DriveDisplayName(const std::u16string& root) const override {
        const auto it = driveNames.find(root[0]);
        return it == driveNames.end() ? std::u16string() : it->second;
    }
    int32_t WinVersion() const override { return winVersion; }
    int32_t OsBuildNumber() const override { return buildNumber; }
    bool HelperBound() const override { return helperBound; }
    bool IsWindows10() const override { return helperBound && windows10; }
};

// Icons are numbers; every handle handed out is remembered so tests can see leaks and double frees.
class FakeIcons : public IconSource {
public:
    static constexpr IconHandle kFileIcon = 1;
    static constexpr IconHandle kProgramIcon = 2;

    std::set<std::u16string> paths;               // existing files and folders
    std::map<std::u16string, int32_t> iconCounts; // icons in a file
    std::set<std::u16string> shellIconPaths;      // paths the shell has an icon for
    std::set<std::u16string> specialFolders{u"MyComputer", u"NetWork", u"ControlPanel", u"DeskTop", u"DustBox"};
    std::u16string ownExe = u"C:\\Tools\\vantrel.exe";

    std::map<IconHandle, std::u16string> live; // handle -> what it shows
    std::size_t peak = 0;                      // the most icons alive at once
    std::multiset<IconHandle> destroyed;

    IconHandle SpecialFolderIcon(const std::u16string& keyword) override {
        return specialFolders.count(keyword) ? Make(u"special:" + keyword) : 0;
    }
    IconHandle ShellIcon(const std::u16string& path) override {
        return shellIconPaths.count(path) ? Make(u"shell:" + path) : 0;
    }
    IconHandle AssociatedIcon(const std::u16string& path) override { return Make(u"assoc:" + path); }
    IconHandle ExtractIconAt(const std::u16string& path, int32_t index) override {
        const auto it = iconCounts.find(path);
        if (it == iconCounts.end() || index < 0 || index >= it->second)
            return 0;
        return Make(u"extract:" + path + u"#" + std::u16string(1, static_cast<char16_t>(u'0' + index % 10)));
    }
    bool PathExists(const std::u16string& path) override { return paths.count(path) != 0; }
    std::u16string OwnExePath() override { return ownExe; }
    void DestroyIcon(IconHandle icon) override {
        destroyed.insert(icon);
        live.erase(icon);
    }
    IconHandle DefaultFileIcon() const override { return kFileIcon; }
    IconHandle DefaultProgramIcon() const override { return kProgramIcon; }

    std::u16string Describe(IconHandle icon) const {
        if (icon == kFileIcon)
            return u"default-file";
        if (icon == kProgramIcon)
            return u"default-program";
        const auto it = live.find(icon);
        return it == live.end() ? u"<dead>" : it->second;
    }

private:
    IconHandle Make(const std::u16string& what) {
        const IconHandle handle = next_++;
        // Icons of another size than the standard 32 say so: "extract:C:\\a.exe#0@48".
        std::u16string size;
        for (int32_t n = IconSize(); IconSize() != kStandardIconSize && n > 0; n /= 10)
            size.insert(size.begin(), static_cast<char16_t>(u'0' + n % 10));
        live[handle] = size.empty() ? what : what + u"@" + size;
        peak = std::max(peak, live.size());
        return handle;
    }
    IconHandle next_ = 100;
};

} // namespace vantrel::testing
