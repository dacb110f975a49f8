#pragma once
// GDI drawing of tray cells: the cursor, the icon, the CD player's state and the key badge, exactly as the cell
// model decides them, at the scale the context's metrics give. Shared by the launcher window and the icon
// registration dialog.

#include <array>
#include <cstdint>
#include <map>
#include <utility>

#include <windows.h>

#include "core/records.h"
#include "grid/cells.h"
#include "services/grid_colours.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

// What drawing a cell reads besides the cell's own item.
struct CellPaintContext {
    const std::array<TrayEntry, 3>* trays = nullptr;
    const TOption* option = nullptr;
    int32_t columns = 1;
    bool usKeyboard = true;
    bool cdPlayerFlag = false;
    int32_t cdMode = 0;
    GridColours colours;
    CellMetrics metrics; // the grid at the drawing window's scale; the default is 96 dpi
};

class CellPainter {
public:
    CellPainter();
    CellPainter(const CellPainter&) = delete;
    CellPainter& operator=(const CellPainter&) = delete;

    // Draws cell `index` of `tray` in a paint box whose top-left corner is `box` on the DC.
    void DrawCell(HDC dc, POINT box, const CellPaintContext& context, int32_t tray, int32_t index, int32_t state) const;
    // Every shown cell of the tray in the normal state.
    void DrawTray(HDC dc, POINT box, const CellPaintContext& context, int32_t tray) const;
    // Greys cell `index` out with a checkerboard: an item that is kept but not used.
    void DrawNotUsedMark(HDC dc, POINT box, const CellPaintContext& context, int32_t index) const;

private:
    HPEN Pen(int width, COLORREF colour) const;
    HBRUSH Brush(COLORREF colour) const;
    void DrawBackground(HDC dc, POINT cell, const CellPaintContext& context, int32_t state) const;
    void DrawBadge(HDC dc, POINT cell, const CellPaintContext& context, int32_t tray, int32_t index,
                   const RData& item) const;

    HGDIOBJ BadgeFont(int height) const;
    // The CD overlays loaded at the icon size drawn, so that they are as sharp as the icons under them.
    HICON Overlay(bool playing, int size) const;

    mutable std::map<int, UniqueGdiObject> badgeFonts_;           // by pixel height
    mutable std::map<std::pair<bool, int>, UniqueIcon> overlays_; // by state and size
    UniqueGdiObject notUsedPattern_;                              // a brush of the 8x8 checkerboard
    // Pens and brushes by colour: a full paint draws some sixty cells with the same three or four.
    mutable std::map<std::pair<int, COLORREF>, UniqueGdiObject> pens_;
    mutable std::map<COLORREF, UniqueGdiObject> brushes_;
};

// Fills a control's whole area with one colour (the background the cells are drawn on).
void ClearControl(HDC dc, int width, int height, COLORREF colour);
// Fills one area of a DC with one colour.
void ClearArea(HDC dc, const RECT& area, COLORREF colour);

// The sunken frame around a paint box: shadow on the top and left edges, light on the right and bottom. It stays one
// pixel wide at every scale, as the system's own edges do.
void DrawSunkenFrame(HDC dc, int left, int top, int width, int height, const GridColours& colours);

} // namespace vantrel::win
