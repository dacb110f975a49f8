#pragma once
// What the stored texts of an item mean: keywords of special folders, drive roots, the icon an item gets,
// and which items may be started elevated.

#include <cstdint>
#include <string>

#include "core/records.h"

namespace vantrel {

// The icon operations an item needs. Every handle it returns is owned by the caller except the two
// shared fallback icons, which live for the whole run.
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

// The icon an item shows. Never 0: whatever cannot be found falls back to a shared icon, so no cell of a
// tray is ever left blank.
IconHandle ResolveItemIcon(int32_t status, const std::u16string& iconFileName, int32_t iconIndex, IconSource& icons);

// Destroys an item's icon unless it is one of the shared fallback icons.
void ReleaseItemIcon(IconHandle icon, IconSource& icons);

} // namespace vantrel
