#pragma once
// Where the settings files live. An installed copy keeps them in the user's application-data folder
// ("%APPDATA%\vantrel64"). A copy unpacked from the portable zip finds the marker file "vantrel.portable"
// beside itself and keeps them in its own folder, so that the folder (a USB stick, say) takes its settings
// along and leaves nothing on the machines it runs on.

#include <string>
#include <string_view>

#include "config/settings_files.h"

namespace vantrel {

inline constexpr std::u16string_view kPortableMarkerName = u"vantrel.portable";

struct SettingsLocation {
    std::u16string folder;       // holds vantrel.ini .. vantrel5.ini
    std::u16string legacyFolder; // an older folder whose files are copied once; empty when there is none
    bool portable = false;

    bool operator==(const SettingsLocation&) const = default;
};

// The installed layout under a base folder: base\vantrel64, with base\vantrel as the older folder.
SettingsLocation InstalledSettingsLocation(const std::u16string& baseFolder);

// Portable when the marker file is in the program's folder; otherwise the installed layout. A portable copy
// copies nothing from an older folder: settings on the machine it happens to run on are not its own.
SettingsLocation ChooseSettingsLocation(config::SettingsFileSystem& files, const std::u16string& programFolder,
                                        const std::u16string& baseFolder);

// folder + "\" + leaf, without doubling the separator of a drive root ("E:\").
std::u16string PathInFolder(const std::u16string& folder, std::u16string_view leaf);

} // namespace vantrel
