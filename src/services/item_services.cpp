#include "services/item_services.h"

#include "services/text.h"

namespace vantrel {

int32_t SpecialFolderId(std::u16string_view keyword) {
    struct Entry {
        std::u16string_view keyword;
        int32_t id;
    };
    static constexpr Entry kFolders[] = {
        {u"ControlPanel", 3}, {u"MyComputer", 17}, {u"DustBox", 10}, {u"NetWork", 18},
        {u"Printer", 4},      {u"MyDocument", 5},  {u"DeskTop", 0},
    };
    for (const auto& entry : kFolders)
        if (entry.keyword == keyword)
            return entry.id;
    return 0;
}

bool IsDriveRoot(std::u16string_view text) {
    if (text.size() != 3)
        return false;
    const char16_t letter = text[0];
    const bool isLetter = (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
    return isLetter && text[1] == u':' && text[2] == u'\\';
}

namespace {

std::u16string LowerExtension(std::u16string_view path) {
    const auto dot = path.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string() : AsciiLower(path.substr(dot));
}

} // namespace

bool IsRunnableFile(std::u16string_view path) {
    const std::u16string ext = LowerExtension(path);
    return ext == u".exe" || ext == u".bat" || ext == u".cmd";
}

bool IsRunasCandidate(const RData& item) {
    if (item.Status & StatusSystem)
        return AsciiLower(item.ExeFileName).find(u"cmd.exe") != std::u16string::npos;
    return IsRunnableFile(item.ExeFileName);
}

std::u16string ShortcutTitle(std::u16string_view path) {
    const auto separator = path.find_last_of(u"\\:");
    const std::u16string_view name = separator == std::u16string_view::npos ? path : path.substr(separator + 1);
    return std::u16string(name.substr(0, name.find(u'.')));
}

std::vector<IconHandle> IconSource::ExtractIcons(const std::u16string& path, int32_t first, int32_t count) {
    std::vector<IconHandle> found;
    for (int32_t i = 0; i < count; ++i)
        found.push_back(ExtractIconAt(path, first + i));
    return found;
}

std::size_t IconSource::IconCount(const std::u16string& path, std::size_t limit) {
    std::size_t count = 0;
    for (; count < limit; ++count) {
        const IconHandle icon = ExtractIconAt(path, static_cast<int32_t>(count));
        if (!icon)
            break;
        DestroyIcon(icon);
    }
    return count;
}

IconRef IconSource::Own(IconHandle icon) {
    if (IsSharedIcon(icon))
        return IconRef::Borrowed(icon);
    return IconRef::Owned(icon, IconDestroyer());
}

IconRef::Destroyer IconSource::IconDestroyer() {
    return [this](IconHandle icon) { DestroyIcon(icon); };
}

IconRef ResolveItemIcon(int32_t status, const std::u16string& iconFileName, int32_t iconIndex, IconSource& icons) {
    IconHandle icon = 0;
    if (iconIndex == -1) {
        if (status & StatusShellIcon)
            icon = icons.SpecialFolderIcon(iconFileName);
        else if (IsDriveRoot(iconFileName))
            icon = icons.ShellIcon(iconFileName);
        else if (icons.PathExists(iconFileName))
            icon = icons.AssociatedIcon(iconFileName);
        return icons.Own(icon ? icon : icons.DefaultFileIcon());
    }

    const std::u16string path = EqualsNoCase(iconFileName, u"Vantrel.exe") ? icons.OwnExePath() : iconFileName;
    if (!icons.PathExists(path))
        return icons.Own(icons.DefaultFileIcon());
    icon = icons.ExtractIconAt(path, iconIndex);
    if (icon)
        return icons.Own(icon);
    const std::u16string ext = LowerExtension(path);
    return icons.Own((ext == u".exe" || ext == u".com") ? icons.DefaultProgramIcon() : icons.DefaultFileIcon());
}

IconRef ShellIconOrDefault(const std::u16string& path, IconSource& icons) {
    const IconHandle icon = icons.ShellIcon(path);
    return icons.Own(icon ? icon : icons.DefaultFileIcon());
}

bool ResolvePendingIcons(ItemList& items, IconSource& icons) {
    bool any = false;
    for (RData& item : items) {
        if (item.Icon.Get() != 0)
            continue;
        item.Icon = item.IconIndex == -1 && IsDriveRoot(item.IconFileName)
                        ? ShellIconOrDefault(item.IconFileName, icons)
                        : ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
        any = true;
    }
    return any;
}

void ResolveIconsAgain(ItemList& items, IconSource& icons) {
    // Drive roots (icon index -1) go to the shell as they did when the item was made.
    for (RData& item : items)
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
}

} // namespace vantrel
