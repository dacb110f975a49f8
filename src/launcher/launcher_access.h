#pragma once
// The launcher window as a screen reader reads it: the three trays as lists named like their captions, each
// shown cell an item named by its title (a task by its window's title), with its place in the tray, the key
// that reaches it, its bounds, and the cursor cell focused. An assistive program may move the cursor onto a
// cell or run it; both take the road the mouse and the keyboard take.

#include <array>
#include <cstdint>
#include <string>

#include "core/accessible_grid.h"
#include "core/records.h"
#include "launcher/launcher_host.h"
#include "launcher/layout.h"
#include "launcher/navigation.h"

namespace vantrel {

// The keystroke that reaches an item with direct key `key` (bits 8-15 of its Status), as a screen reader
// says it: "A", "Shift+A", "F5", "Shift+F5", and the digits ("5", "Shift+5" for its shifted character) only
// when they are direct keys (KeyNumberFlag). Empty for no key and for codes no keystroke produces.
std::u16string DirectKeyShortcut(int32_t key, bool keyNumberFlag, bool usKeyboard);
// A task's number key: "1".."9", "0" for the first ten tasks when the digits are not direct keys.
std::u16string TaskShortcut(int32_t index, bool keyNumberFlag);

// What the model asks of the window.
class LauncherAccessWindow {
public:
    virtual ~LauncherAccessWindow() = default;
    // The window is up and painted: only then has a cell the keyboard's focus.
    virtual bool Showing() const = 0;
    // Moves the cursor onto a shown cell, or runs it; false when the window cannot do it now.
    virtual bool SelectForAccess(int32_t tray, int32_t index) = 0;
    virtual bool RunForAccess(int32_t tray, int32_t index) = 0;
};

class LauncherAccess : public AccessibleGrid {
public:
    LauncherAccess(LauncherHost& host, const LauncherWindowState& form, LauncherAccessWindow& window)
        : host_(host), form_(form), window_(window) {}

    int32_t ListCount() const override { return 3; }
    std::u16string ListName(int32_t list) const override;
    BoxBounds ListBounds(int32_t list) const override;
    int32_t CellCount(int32_t list) const override;
    AccessibleCell Cell(int32_t list, int32_t index) const override;
    std::optional<CellAddress> Focus() const override;
    bool SelectCell(CellAddress cell) override;
    bool RunCell(CellAddress cell) override;

private:
    LauncherHost& host_;
    const LauncherWindowState& form_;
    LauncherAccessWindow& window_;
};

// The navigation steps of an assistive program's requests, returned like the keyboard's and the mouse's: the
// cursor moves onto a shown cell (and the remembered column with it, so that the arrow keys go on from there);
// AccessRun then runs it as Enter does. A cell that is not shown changes nothing.
NavResult AccessSelect(Navigation& n, int32_t tray, int32_t index);
NavResult AccessRun(Navigation& n, int32_t tray, int32_t index);

} // namespace vantrel
