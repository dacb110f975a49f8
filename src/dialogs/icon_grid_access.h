#pragma once
// The icon dialogs' own grids as a screen reader reads them. The registration dialog's Program and System grids
// are each one list named like their page, every item a cell named by its title (an item that is kept but not
// used says so), with its place in the tray and the cursor's cell focused; a reader may move the cursor onto a
// cell as the mouse does. The icon strip of "Icon setting" is one list "Icon" of the file's icons, the picked
// one focused; a reader picks an icon as a click does. Neither grid has a default action: running an item is
// the launcher's business, not the dialogs'.

#include <cstdint>
#include <optional>
#include <string>

#include "core/accessible_grid.h"
#include "core/records.h"
#include "grid/cells.h"

namespace vantrel {

// What the registration dialog tells the description of one of its grids.
class TrayGridView {
public:
    virtual ~TrayGridView() = default;
    virtual const ItemList& GridItems(int32_t tray) const = 0;
    // The dialog is up and the grid's page is the one on top.
    virtual bool GridShowing(int32_t tray) const = 0;
    virtual int32_t GridCursor() const = 0;
    virtual int32_t GridColumns() const = 0;
    // The cells at the grid window's scale.
    virtual CellMetrics GridMetrics() const { return {}; }
    // The grid window's client area.
    virtual BoxBounds GridArea(int32_t tray) const = 0;
    // Moves the cursor onto a cell, as pointing at it does; false when the dialog cannot now (a drag, a child).
    virtual bool SelectGridCell(int32_t tray, int32_t index) = 0;
};

class TrayGridAccess : public AccessibleGrid {
public:
    TrayGridAccess(TrayGridView& view, int32_t tray) : view_(view), tray_(tray) {}

    int32_t ListCount() const override { return 1; }
    std::u16string ListName(int32_t list) const override;
    BoxBounds ListBounds(int32_t list) const override;
    int32_t CellCount(int32_t list) const override;
    AccessibleCell Cell(int32_t list, int32_t index) const override;
    std::optional<CellAddress> Focus() const override;
    bool SelectCell(CellAddress cell) override;
    bool RunCell(CellAddress) override { return false; }

private:
    TrayGridView& view_;
    int32_t tray_;
};

// What the icon strip tells its description.
class IconStripView {
public:
    virtual ~IconStripView() = default;
    virtual int32_t StripCells() const = 0;
    // The picked icon; -1 while the strip shows the file's associated icon, which is none of its cells.
    virtual int32_t StripIndex() const = 0;
    // Where the strip's cell lies in its window now (it scrolls).
    virtual int32_t StripOffset() const = 0;
    // The cells' pitch at the strip's scale.
    virtual int32_t StripPitch() const = 0;
    virtual bool StripShowing() const = 0;
    virtual bool PickStripCell(int32_t index) = 0;
};

class IconStripAccess : public AccessibleGrid {
public:
    explicit IconStripAccess(IconStripView& view) : view_(view) {}

    int32_t ListCount() const override { return 1; }
    std::u16string ListName(int32_t) const override { return u"Icon"; }
    BoxBounds ListBounds(int32_t list) const override;
    int32_t CellCount(int32_t list) const override;
    AccessibleCell Cell(int32_t list, int32_t index) const override;
    std::optional<CellAddress> Focus() const override;
    bool SelectCell(CellAddress cell) override;
    bool RunCell(CellAddress) override { return false; }

private:
    IconStripView& view_;
};

} // namespace vantrel
