#pragma once
// The shell's file dialogs and shortcut objects as the icon dialogs use them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <windows.h>

#include "dialogs/registration_model.h"

namespace vantrel::win {

struct OpenFileRequest {
    HWND owner = nullptr;
    std::u16string title;
    std::u16string filter;      // "Name|pattern|Name|pattern", as the dialogs name their filters
    std::u16string initialPath; // the proposed file; its folder is where the dialog starts
    bool mustExist = false;     // the dialog itself refuses a name that names no file
};

// The common "Open" dialog; the chosen path, or none when it was cancelled. The dialog is modal: `modal` is told
// when it opens and closes, so that the triggers are ignored meanwhile.
std::optional<std::u16string> AskOpenFile(const OpenFileRequest& request, const std::function<void(bool)>& modal);

// The folder part of a path ("C:\Tools" of "C:\Tools\a.exe"); empty without one.
std::u16string FolderPart(const std::u16string& path);

bool FolderExists(const std::u16string& path);

// Reads a shortcut through the shell's link object, whole however long its texts, and tells a file's short name. A
// target that has moved is looked for without any window, within the limits of ShortcutSearchLimit counted from the
// resolver's making; the shortcut file itself is never changed. COM must be initialised on the calling thread.
class ShellShortcutResolver : public ShortcutResolver {
public:
    ShellShortcutResolver();
    std::optional<ShortcutLink> ResolveShortcut(const std::u16string& path) override;
    std::u16string ShortName(const std::u16string& path) override;

private:
    uint64_t started_;
};

} // namespace vantrel::win
