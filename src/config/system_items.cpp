#include "config/system_items.h"

#include "config/item_lists.h"
#include "services/path_macros.h"
#include "services/text.h"

namespace vantrel {

const std::array<TSystemItem, 12> DefaultSystemItems = {{
    {u"MyComputer", u"MyComputer", u"This PC", -1, 11},
    {u"NetWork", u"NetWork", u"Network", -1, 11},
    {u"MyDocument", u"%sysdir%\\mydocs.dll", u"Documents", 0, 3},
    {u"ControlPanel", u"ControlPanel", u"Control panel", -1, 11},
    {u"ms-settings:", u"%sysdir%\\Shell32.Dll", u"Settings", 316, 3},
    {u"DeskTop", u"DeskTop", u"Desktop", -1, 11},
    {u"DustBox", u"DustBox", u"Recycle Bin", -1, 11},
    {u"Exit", u"%sysdir%\\Shell32.Dll", u"Shutdown", 45, 3},
    {u"Suspend", u"%sysdir%\\Shell32.Dll", u"Sleep", 25, 3},
    {u"%InternetExplorer%", u"%InternetExplorer%", u"Internet Explorer", 0, 1},
    {u"%MicrosoftEdge%", u"%MicrosoftEdge%", u"Edge", 0, 1},
    {u"%VantrelDosCommand%", u"%VantrelDosIcon%", u"Command prompt", 1, 5},
}};

namespace {

constexpr int32_t kWindows11Build = 22000;
constexpr std::size_t kEdgeRow = 10;

bool IsRemote(const std::u16string& exe, const SystemQueries& system) {
    return IsDriveRoot(exe) && system.IsRemoteDrive(exe);
}

// Whether default row may be added on this machine, and the icon index it then takes from the table.
bool DefaultRowApplies(const TSystemItem& row, const SystemQueries& system) {
    const bool windows11 = system.IsWindows10() && system.OsBuildNumber() >= kWindows11Build;
    if (row.ExeName == u"%InternetExplorer%")
        return !windows11 && system.FileExists(ExpandPathMacros(std::u16string(row.ExeName), system));
    if (row.ExeName == u"%MicrosoftEdge%")
        return system.FileExists(ExpandPathMacros(std::u16string(row.ExeName), system));
    if (row.ExeName == u"ms-settings:")
        return system.HelperBound() && system.IsWindows10();
    return true;
}

RData MakeDefaultItem(const TSystemItem& row, const SystemQueries& system, IconSource& icons) {
    RData item;
    item.ExeFileName = ExpandPathMacros(std::u16string(row.ExeName), system);
    item.IconFileName = ExpandPathMacros(std::u16string(row.IconName), system);
    item.Title = ExpandPathMacros(std::u16string(row.Title), system);
    item.IconIndex = row.IconIndex;
    if (row.ExeName == u"ms-settings:" && system.OsBuildNumber() >= kWindows11Build)
        item.IconIndex = 314;
    if (row.IconName == u"%VantrelDosIcon%" && system.IsNtPlatform())
        item.IconIndex = -1;

    const int32_t version = system.WinVersion();
    if (item.ExeFileName == u"Exit") {
        switch (version) {
        case 410:
            item.IconIndex = 50;
            break;
        case 490:
            item.IconIndex = 105;
            break;
        case 1500:
            item.IconIndex = 107;
            break;
        default:
            if (version >= 1501)
                item.IconIndex = 27;
        }
    } else if (item.ExeFileName == u"Suspend" && version >= 1501) {
        item.IconFileName = u"Vantrel.exe";
        item.IconIndex = 5;
    } else if (item.ExeFileName == u"CD Player" && version >= 1501) {
        item.IconIndex = 6;
    }
    item.Status = row.Status;
    item.RunasFlag = false;
    item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    return item;
}

void ShowDriveTitle(RData& item, const SystemQueries& system) {
    const std::u16string shown = system.DriveDisplayName(item.IconFileName);
    if (!shown.empty())
        item.Title = shown;
}

// Removes the drive items we added for a root that is gone. The user's own items for the same root may stand
// before or after ours and stay, so every item is looked at, not only the first match.
bool RemoveBuiltInDriveItems(ItemList& list, const std::u16string& root) {
    bool removed = false;
    for (std::size_t i = 0; i < list.size();) {
        RData& item = list[i];
        if ((item.Status & 0xFF) == StatusSystem && item.ExeFileName == root) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

} // namespace

void PrepareStoredSystemItem(RData& item, const SystemQueries& system, IconSource& icons) {
    if (item.ExeFileName == u"Exit") {
        const int32_t version = system.WinVersion();
        if (item.IconIndex == 45)
            item.IconIndex = version == 410 ? 50 : version == 490 ? 105 : version == 1500 ? 107 : 45;
        if (item.IconIndex == 50 && version == 490)
            item.IconIndex = 105;
    }
    if (item.IconIndex == -1 && IsDriveRoot(item.IconFileName)) {
        item.Icon = ShellIconOrDefault(item.IconFileName, icons);
        // The drive's label may have changed since the file was written: show what the shell says now. An item read
        // without its icon gets both from ResolvePendingSystemItems: each is a question to the shell.
        if (item.Icon.Get() != 0)
            ShowDriveTitle(item, system);
    } else {
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    }
    item.Flag = (item.Status & 0xFF) == StatusSystem && IsRemote(item.ExeFileName, system);
}

bool ResolvePendingSystemItems(ItemList& list, const SystemQueries& system, IconSource& icons) {
    bool any = false;
    for (RData& item : list) {
        if (item.Icon.Get() != 0)
            continue;
        any = true;
        if (item.IconIndex == -1 && IsDriveRoot(item.IconFileName)) {
            item.Icon = ShellIconOrDefault(item.IconFileName, icons);
            ShowDriveTitle(item, system);
        } else {
            item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
        }
    }
    return any;
}

bool SyncDrives(ItemList& list, const SystemQueries& system, IconSource& icons) {
    bool changed = false;
    const uint32_t drives = system.LogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        const std::u16string root{static_cast<char16_t>(u'A' + letter), u':', u'\\'};
        const int found = FindItem(list, root, system);
        if (drives & (1u << letter)) {
            if (found != -1)
                continue;
            RData item;
            item.ExeFileName = root;
            item.IconFileName = root;
            item.IconIndex = -1;
            item.Status = StatusSystem;
            item.Icon = ShellIconOrDefault(root, icons);
            item.Title = system.DriveDisplayName(root);
            if (item.Title.empty())
                item.Title = root;
            item.Flag = system.IsRemoteDrive(root);
            InsertItem(list, std::move(item));
            changed = true;
        } else if (found != -1 && RemoveBuiltInDriveItems(list, root)) {
            changed = true;
        }
    }
    return changed;
}

bool CompleteSystemList(ItemList& list, const SystemQueries& system, IconSource& icons) {
    bool changed = false;
    for (std::size_t row = 0; row < DefaultSystemItems.size(); ++row) {
        const TSystemItem& entry = DefaultSystemItems[row];
        if (FindItem(list, std::u16string(entry.ExeName), system) == -1 && DefaultRowApplies(entry, system)) {
            InsertItem(list, MakeDefaultItem(entry, system, icons));
            changed = true;
        }
        // Drives go after the browsers and before the command prompt, which starts as not used.
        if (row == kEdgeRow && SyncDrives(list, system, icons))
            changed = true;
    }
    return changed;
}

bool HasCdPlayerItem(const ItemList& list) {
    for (const auto& item : list)
        if ((item.Status & StatusSpecial) && !(item.Status & StatusNotUsed) &&
            EqualsNoCase(item.ExeFileName, u"CD Player"))
            return true;
    return false;
}

} // namespace vantrel
