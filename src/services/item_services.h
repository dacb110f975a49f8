#pragma once
// What the stored texts of an item mean: keywords of special folders, drive roots, the icon an item gets,
// and which items may be started elevated.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/records.h"

namespace vantrel {

// The icon operations an item needs. Every handle it returns is owned by the caller except the two
// shared fallback icons, which live for the whole run; Own turns a handle into the reference items hold.
class IconSource {
public:
    virtual ~IconSource() = default;
    virtual IconHandle SpecialFolderIcon(const std::u16string& keyword) = 0; // 0 when none
    virtual IconHandle ShellIcon(const std::u16string& path) = 0;            // the shell's large icon, 0 when none
    virtual IconHandle AssociatedIcon(const std::u16string& path) = 0;       // 0 when none
    virtual IconHandle ExtractIconAt(const std::u16string& path, int32_t index) = 0; // 0 when the file has no such icon
    virtual bool PathExists(const std::u16string& path) = 0;                         // a file or a folder
    virtual std::u16string OwnExePath() = 0;
    virtual void DestroyIcon(IconHandle icon) = 0;
    virtual IconHandle DefaultFileIcon() const = 0;
    virtual IconHandle DefaultProgramIcon() const = 0;

    // How many icons a file holds, at most `limit`; none for a file that is no icon source. The default extracts one
    // after the other until the file has no more, and lets each go again.
    virtual std::size_t IconCount(const std::u16string& path, std::size_t limit);
    // Icons first .. first + count - 1 of a file, each owned by the caller; fewer when the file ends before, and 0
    // for one it does not give. The default asks for one after the other.
    virtual std::vector<IconHandle> ExtractIcons(const std::u16string& path, int32_t first, int32_t count);

    // The reference an item holds for a handle this source returned: a shared fallback icon is borrowed, any
    // other handle is destroyed when the last reference to it goes. The source must outlive the references.
    IconRef Own(IconHandle icon);

    // Width and height in pixels of the icons the source hands out from now on: the icon size of the screen the
    // trays are drawn on (32 at 96 dpi, 48 at 144). Icons come from a source of that size, never a smaller image
    // stretched. A size below 1 counts as 32.
    int32_t IconSize() const { return iconSize_; }
    void SetIconSize(int32_t size) { iconSize_ = size > 0 ? size : kStandardIconSize; }
    // A shared fallback icon, of this size or of one used before: it lives as long as the source and no item owns it.
    virtual bool IsSharedIcon(IconHandle icon) const {
        return icon == DefaultFileIcon() || icon == DefaultProgramIcon();
    }

    static constexpr int32_t kStandardIconSize = 32;

protected:
    // How an owned icon is destroyed; a source whose icons need nothing of the object itself may answer with a
    // function that does not refer to it.
    virtual IconRef::Destroyer IconDestroyer();

private:
    int32_t iconSize_ = kStandardIconSize;
};

// Shell special-folder id (CSIDL) of a keyword, compared exactly; 0 (the desktop) for anything else.
int32_t SpecialFolderId(std::u16string_view keyword);

// Three characters: an ASCII letter, ':' and '\'.
bool IsDriveRoot(std::u16string_view text);

// The extension (from the last dot, any letter case) is .exe, .bat or .cmd.
bool IsRunnableFile(std::u16string_view path);

// Built-in System items qualify when they run cmd.exe; every other item when it is a runnable file.
bool IsRunasCandidate(const RData& item);

// Title for a dropped shortcut: the file name after the last '\' or ':' up to its first dot.
std::u16string ShortcutTitle(std::u16string_view path);

// The icon an item shows. Never empty: whatever cannot be found falls back to a shared icon, so no cell of a
// tray is ever left blank.
IconRef ResolveItemIcon(int32_t status, const std::u16string& iconFileName, int32_t iconIndex, IconSource& icons);

// The shell's icon of a path such as a drive root, else the shared file icon.
IconRef ShellIconOrDefault(const std::u16string& path, IconSource& icons);

// Every item's icon resolved again at the source's current size, after the trays moved to a screen of another DPI.
// Copies of the items (a dialog's list kept for Cancel) keep the old icons alive through their references.
void ResolveIconsAgain(ItemList& items, IconSource& icons);

// A source that hands out no icons yet: items made through it hold the empty handle 0 instead, which no resolved item
// ever holds (ResolveItemIcon always finds one). Start-up reads the trays through it, so that the notification-area
// icon does not wait for the shell's icons of every item; ResolvePendingIcons gives the items theirs before anything
// draws them.
class NoIconsYet : public IconSource {
public:
    IconHandle SpecialFolderIcon(const std::u16string&) override { return 0; }
    IconHandle ShellIcon(const std::u16string&) override { return 0; }
    IconHandle AssociatedIcon(const std::u16string&) override { return 0; }
    IconHandle ExtractIconAt(const std::u16string&, int32_t) override { return 0; }
    bool PathExists(const std::u16string&) override { return false; }
    std::u16string OwnExePath() override { return {}; }
    void DestroyIcon(IconHandle) override {}
    IconHandle DefaultFileIcon() const override { return 0; }
    IconHandle DefaultProgramIcon() const override { return 0; }
};

// Gives every item that has no icon yet the one it names, as it would have got when it was read; true when there was
// any. A drive root goes to the shell.
bool ResolvePendingIcons(ItemList& items, IconSource& icons);

} // namespace vantrel
