#include "config/settings_location.h"

#include "services/os_text.h"

namespace vantrel {

SettingsLocation InstalledSettingsLocation(const std::u16string& baseFolder) {
    return {SettingsFolder(baseFolder), LegacySettingsFolder(baseFolder), false};
}

SettingsLocation ChooseSettingsLocation(config::SettingsFileSystem& files, const std::u16string& programFolder,
                                        const std::u16string& baseFolder) {
    // Without a folder of its own (the module path could not be read) the program cannot be portable.
    if (!programFolder.empty() && files.FileExists(PathInFolder(programFolder, kPortableMarkerName)))
        return {programFolder, std::u16string(), true};
    return InstalledSettingsLocation(baseFolder);
}

std::u16string PathInFolder(const std::u16string& folder, std::u16string_view leaf) {
    std::u16string path = folder;
    if (!path.empty() && path.back() != u'\\' && path.back() != u'/')
        path += u'\\';
    path += leaf;
    return path;
}

} // namespace vantrel
