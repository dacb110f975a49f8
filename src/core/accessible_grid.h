#pragma once
// What a screen reader reads of a custom-drawn window of grids: named lists of cells, each cell with a name,
// its place in its list, the key that runs it, its bounds, and whether the cursor is on it. A window that
// draws grids itself (the launcher's trays, the settings dialogs' icon grids) describes them through this
// interface; the Win32 toolkit turns it into the system's accessibility objects without knowing what the
// cells are.

#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"

namespace vantrel {

struct AccessibleCell {
    std::u16string name;
    std::u16string position;      // its place in the list, "3 of 8"
    std::u16string shortcut;      // the keystroke that reaches or runs it, "Shift+A"; empty: none
    std::u16string defaultAction; // what running it does, "Run"; empty: it cannot be run
    BoxBounds bounds;             // in the window's client coordinates
    bool focused = false;         // the keyboard cursor is on it
    friend bool operator==(const AccessibleCell&, const AccessibleCell&) = default;
};

struct CellAddress {
    int32_t list = 0;
    int32_t index = 0;
    friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

class AccessibleGrid {
public:
    virtual ~AccessibleGrid() = default;

    virtual int32_t ListCount() const = 0;
    virtual std::u16string ListName(int32_t list) const = 0;
    virtual BoxBounds ListBounds(int32_t list) const = 0;
    virtual int32_t CellCount(int32_t list) const = 0;
    // Only called with 0 <= index < CellCount(list).
    virtual AccessibleCell Cell(int32_t list, int32_t index) const = 0;
    // The cell under the keyboard cursor; none while the window shows nothing or the cursor designates nothing.
    virtual std::optional<CellAddress> Focus() const = 0;

    // An assistive program moves the cursor onto a cell, or runs one, as the keyboard would. False when the cell
    // cannot take the cursor or be run now.
    virtual bool SelectCell(CellAddress cell) = 0;
    virtual bool RunCell(CellAddress cell) = 0;
};

// "3 of 8": the place of the zero-based index in a list of count cells.
inline std::u16string PositionInList(int32_t index, int32_t count) {
    const auto digits = [](int64_t value) {
        std::u16string text;
        uint64_t v = value < 0 ? 0u : static_cast<uint64_t>(value);
        do {
            text.insert(text.begin(), static_cast<char16_t>(u'0' + v % 10));
            v /= 10;
        } while (v != 0);
        return text;
    };
    return digits(int64_t{index} + 1) + u" of " + digits(count);
}

} // namespace vantrel
