#include "grid/cell_painter_win.h"

#include "config/item_lists.h"
#include "grid/cell_paint.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/system_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

// The program's checkerboard "NETPATTERN"; a program without it (a test) makes the same 8x8 pattern itself.
HBRUSH MakeNotUsedPattern() {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"NETPATTERN", IMAGE_BITMAP, 0, 0, LR_MONOCHROME));
    if (!bitmap) {
        // Monochrome rows are padded to 16 bits.
        static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        bitmap = CreateBitmap(8, 8, 1, 1, kRows);
    }
    if (!bitmap)
        return nullptr;
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap); // the brush keeps its own copy
    return brush;
}

HICON LoadOverlay(const wchar_t* name, int size) {
    // The image of the resource nearest the size, scaled only when the file has none of it. A test program without
    // the launcher's resources simply draws no overlay.
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0));
}

void Polyline3(HDC dc, POINT a, POINT b, POINT c) {
    // LineTo leaves out the last point, as the original edges expect.
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    LineTo(dc, c.x, c.y);
}

} // namespace

CellPainter::CellPainter() : notUsedPattern_(MakeNotUsedPattern()) {}

HGDIOBJ CellPainter::BadgeFont(int height) const {
    auto& font = badgeFonts_[height];
    if (!font)
        font.Reset(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Consolas"));
    return font.Get();
}

HICON CellPainter::Overlay(bool playing, int size) const {
    auto& icon = overlays_[{playing, size}];
    if (!icon)
        icon.Reset(LoadOverlay(playing ? L"PCDPLAY" : L"PCDSTOP", size));
    return icon.Get();
}

HPEN CellPainter::Pen(int width, COLORREF colour) const {
    auto& pen = pens_[{width, colour}];
    if (!pen)
        pen.Reset(CreatePen(PS_SOLID, width, colour));
    return static_cast<HPEN>(pen.Get());
}

HBRUSH CellPainter::Brush(COLORREF colour) const {
    auto& brush = brushes_[colour];
    if (!brush)
        brush.Reset(CreateSolidBrush(colour));
    return static_cast<HBRUSH>(brush.Get());
}

void CellPainter::DrawBackground(HDC dc, POINT cell, const CellPaintContext& context, int32_t state) const {
    const GridColours& colours = context.colours;
    const CellMetrics& m = context.metrics;
    const COLORREF face = colours.background;
    const auto background = CellBackgroundFor(context.option->FrameType, state);
    switch (background) {
    case CellBackground::Erase:
    case CellBackground::BoxFrame:
    case CellBackground::BoxFrameBlackFill: {
        const COLORREF frame = background == CellBackground::Erase ? face : colours.cursor;
        const COLORREF fill = background == CellBackground::BoxFrameBlackFill ? colours.cursorFill : face;
        SelectGuard pen(dc, Pen(m.framePen, frame));
        SelectGuard brush(dc, Brush(fill));
        Rectangle(dc, cell.x, cell.y, cell.x + m.extent, cell.y + m.extent);
        break;
    }
    case CellBackground::RaisedButton: {
        {
            SelectGuard pen(dc, Pen(1, colours.cursorLight));
            Polyline3(dc, {cell.x, cell.y + m.buttonLow}, {cell.x, cell.y}, {cell.x + m.buttonHigh, cell.y});
        }
        SelectGuard pen(dc, Pen(1, colours.cursorShadow));
        Polyline3(dc, {cell.x, cell.y + m.buttonLow}, {cell.x + m.buttonLow, cell.y + m.buttonLow},
                  {cell.x + m.buttonLow, cell.y - 1});
        break;
    }
    case CellBackground::Nothing:
        break;
    }
}

void CellPainter::DrawBadge(HDC dc, POINT cell, const CellPaintContext& context, int32_t tray, int32_t index,
                            const RData& item) const {
    const auto badge = BadgeFor(tray, index, item, *context.option, context.usKeyboard);
    if (!badge)
        return;
    SelectGuard font(dc, BadgeFont(context.metrics.badgeFontHeight));
    // The scheme's badge colours: the user's TextColor on BackColor, or the system's in high contrast.
    SetTextColor(dc, context.colours.badgeText);
    SetBkColor(dc, context.colours.badgeBack);
    SetBkMode(dc, OPAQUE);
    TextOutW(dc, cell.x + context.metrics.badgeInset, cell.y + context.metrics.badgeInset, WidePtr(badge->text),
             static_cast<int>(badge->text.size()));
    SetTextColor(dc, RGB(0, 0, 0));
}

void CellPainter::DrawCell(HDC dc, POINT box, const CellPaintContext& context, int32_t tray, int32_t index,
                           int32_t state) const {
    const CellMetrics& m = context.metrics;
    const ScreenPoint origin = CellOrigin(index, context.columns, m);
    const POINT cell{box.x + origin.x, box.y + origin.y};
    DrawBackground(dc, cell, context, state);
    if (IsValidCell(*context.trays, tray, index)) {
        const RData& item = (*context.trays)[static_cast<std::size_t>(tray)].Items[static_cast<std::size_t>(index)];
        const ScreenPoint iconAt = IconOrigin(index, context.columns, m);
        const POINT icon{box.x + iconAt.x, box.y + iconAt.y};
        // The item icons come from their sources at this size already (the icon source follows the window's
        // scale); DrawIconEx only picks the image, it does not stretch one.
        if (item.Icon)
            DrawIconEx(dc, icon.x, icon.y, ToHicon(item.Icon.Get()), m.iconSize, m.iconSize, 0, nullptr, DI_NORMAL);
        const CdOverlay overlay = CdOverlayFor(item, context.cdPlayerFlag, context.cdMode);
        const HICON overlayIcon =
            overlay == CdOverlay::None ? nullptr : Overlay(overlay == CdOverlay::Playing, m.iconSize);
        if (overlayIcon)
            DrawIconEx(dc, icon.x, icon.y, overlayIcon, m.iconSize, m.iconSize, 0, nullptr, DI_NORMAL);
        DrawBadge(dc, cell, context, tray, index, item);
    }
    SetBkMode(dc, OPAQUE);
}

void CellPainter::DrawTray(HDC dc, POINT box, const CellPaintContext& context, int32_t tray) const {
    const int32_t shown = InsertPosition((*context.trays)[static_cast<std::size_t>(tray)].Items);
    for (int32_t i = 0; i < shown; ++i)
        DrawCell(dc, box, context, tray, i, kCellNormal);
}

void CellPainter::DrawNotUsedMark(HDC dc, POINT box, const CellPaintContext& context, int32_t index) const {
    if (!notUsedPattern_)
        return;
    const ScreenRect mark = NotUsedMarkRect(index, context.columns, context.metrics);
    const GridColours& colours = context.colours;
    // Masked over what is there: the pattern's set bits keep the icon's pixels (dimmed by the keep colour), the
    // others take the dot colour, so the icon stays recognisable behind a fine screen: black dots on a light
    // window, dots of the background on a dark one. The pen in the background colour leaves the cell's edge alone.
    SelectGuard pen(dc, Pen(1, colours.background));
    SelectGuard brush(dc, notUsedPattern_.Get());
    const int oldRop = SetROP2(dc, R2_MASKPEN);
    const COLORREF oldText = SetTextColor(dc, colours.notUsedDots);
    const COLORREF oldBack = SetBkColor(dc, colours.notUsedKeep);
    Rectangle(dc, box.x + mark.left, box.y + mark.top, box.x + mark.right, box.y + mark.bottom);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SetROP2(dc, oldRop);
}

void ClearControl(HDC dc, int width, int height, COLORREF colour) {
    ClearArea(dc, RECT{0, 0, width, height}, colour);
}

void ClearArea(HDC dc, const RECT& area, COLORREF colour) {
    // An opaque empty text is the cheapest solid fill: no brush is made for it.
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void DrawSunkenFrame(HDC dc, int left, int top, int width, int height, const GridColours& colours) {
    const int right = left + width - 1;
    const int bottom = top + height - 1;
    UniqueGdiObject shadow(CreatePen(PS_SOLID, 1, colours.frameShadow));
    UniqueGdiObject highlight(CreatePen(PS_SOLID, 1, colours.frameLight));
    {
        SelectGuard pen(dc, shadow.Get());
        Polyline3(dc, {right, top}, {left, top}, {left, bottom});
    }
    SelectGuard pen(dc, highlight.Get());
    Polyline3(dc, {right, top}, {right, bottom}, {left - 1, bottom});
}

} // namespace vantrel::win
