#pragma once
// Records shared by every tray and dialog: the options of one environment and the item record.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

// Opaque icon handle: the model stores and compares it, only the Win32 adapter draws or destroys it.
using IconHandle = std::uintptr_t;

// An item's icon. Items are copied freely (the lists kept for a dialog's Cancel, the dialogs' working copies, the
// launcher's view of the same lists), so an item never owns a bare handle: every copy shares one reference, and an
// owned icon is destroyed exactly once, when the last copy that refers to it goes. A borrowed icon (a shared
// fallback icon, another program's window icon) is never destroyed through a reference.
class IconRef {
public:
    using Destroyer = std::function<void(IconHandle)>;

    IconRef() = default;
    static IconRef Borrowed(IconHandle handle) {
        IconRef icon;
        icon.handle_ = handle;
        return icon;
    }
    // `destroy` runs once with the handle when the last copy is gone; a null handle gives an empty reference.
    static IconRef Owned(IconHandle handle, Destroyer destroy) {
        IconRef icon;
        icon.handle_ = handle;
        if (handle != 0 && destroy)
            icon.owner_ =
                std::shared_ptr<void>(reinterpret_cast<void*>(handle), [destroy = std::move(destroy)](void* h) {
                    destroy(reinterpret_cast<IconHandle>(h));
                });
        return icon;
    }

    IconHandle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

    friend bool operator==(const IconRef& a, const IconRef& b) { return a.handle_ == b.handle_; }

private:
    IconHandle handle_ = 0;
    std::shared_ptr<void> owner_;
};

// Options of one environment, a plain record copied by value.
struct TOption {
    int32_t VkKey = 74;
    int32_t VkMod = 3;
    int32_t MouseFlag = 1;
    bool KeyPositionFlag = false;
    bool KeyOnlyFlag = false;
    int32_t MousePositionFlag = 0;
    int32_t KeyCursorFlag = 0;
    int32_t RightClickFlag = 0;
    bool MoveCursorFlag = true;
    bool DirectMoveOnlyFlag = false;
    int32_t DosFlag = 1;
    bool KeyNumberFlag = false;
    int32_t ColMax = 7;
    int32_t RowMax = 3;
    int32_t FrameType = 1;
    int32_t TextColor = 0xFFFFFF;
    int32_t BackColor = 0x800000;
    bool MouseHookFlag = false;
    int32_t WaitDesktop = 3;
    bool AltDisableFlag = false;
    // Quiet triggers: the hot key too does nothing while a full-screen program is in front (the mouse
    // combination never acts there), and neither acts while a window of a program in ExcludeList is in front.
    bool FullScreenKeyOffFlag = false;
    std::vector<std::u16string> ExcludeList; // program file names, at most 32
    // "Colours:" 0 follow Windows, 1 light, 2 dark; high contrast wins over every choice.
    int32_t ColorScheme = 0;

    friend bool operator==(const TOption&, const TOption&) = default;
};

// Flag bits in the low byte of RData::Status; bits 8-15 hold the item's direct key.
constexpr int32_t StatusSystem = 1;
constexpr int32_t StatusSpecial = 2;
constexpr int32_t StatusNotUsed = 4;
constexpr int32_t StatusShellIcon = 8;

// One item of a tray: plain data, copied by value. Copies share the item's icon (see IconRef).
struct RData {
    std::intptr_t WinHandle = 0;
    IconRef Icon;
    int32_t IconIndex = 0;
    int32_t Status = 0;
    bool Flag = false;
    std::u16string Title;
    std::u16string ExeFileName;
    std::u16string IconFileName;
    std::u16string ArgumentName;
    std::u16string DirectoryName;
    bool RunasFlag = false;

    friend bool operator==(const RData&, const RData&) = default;
};

using ItemList = std::vector<RData>;

enum TrayIndex : int { ProgramTray = 0, TaskTray = 1, SystemTray = 2 };

// Per-tray bookkeeping of the launcher window; the paint box and label live in the window itself.
struct TrayEntry {
    int32_t NowIndex = 0;
    int32_t LastIndex = 0;
    ItemList Items;
};

// At most this many Program and System items are stored (keys 0..199).
constexpr int kMaxStoredItems = 200;

} // namespace vantrel
