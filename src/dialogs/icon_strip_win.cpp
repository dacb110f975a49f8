#include "dialogs/icon_strip_win.h"

#include <algorithm>

#include "dialogs/dialog_ids.h"
#include "services/grid_colours_win.h"
#include "services/system_win.h"
#include "win/controls_win.h"
#include "win/dpi_win.h"

namespace vantrel::win {

bool IconStripWindow::Make(HWND parent, const RECT& at) {
    if (!Create(L"VantrelIconStrip", L"Icon", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL, WS_EX_STATICEDGE,
                at.left, at.top, at.right - at.left, at.bottom - at.top, parent))
        return false;
    SetWindowLongPtrW(Handle(), GWLP_ID, IDC_ICONSTRIP);
    accessHost_.Attach(Handle());
    return true;
}

void IconStripWindow::Refresh() {
    IconStrip& strip = dialog_.strip_;
    RECT r{};
    GetWindowRect(Handle(), &r);
    // The cells at the scale of the screen the dialog is on; whether they scroll, by the room the strip has.
    RECT client{};
    GetClientRect(Handle(), &client);
    const DpiScale scale = WindowScale(Handle());
    strip.Scale(scale, client.right, SystemMetricAt(SM_CYHSCROLL, scale));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, strip.BoxHeight(), SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(Handle(), &client);
    SCROLLINFO info{sizeof(info)};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(strip.Width() - 1, 0);
    info.nPage = static_cast<UINT>(client.right);
    info.nPos = strip.ScrollTo();
    SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    // With room for every cell there is nothing to scroll: the bar goes.
    ShowScrollBar(Handle(), SB_HORZ, strip.Scrolls());
    InvalidateRect(Handle(), nullptr, TRUE);
    // Another file's icons: listeners read the list again.
    accessHost_.AnnounceReorder();
    accessHost_.AnnounceFocus(true);
}

bool IconStripWindow::PickStripCell(int32_t index) {
    if (!dialog_.strip_.PickAt(index * dialog_.strip_.Pitch()))
        return false;
    ShowCell(index);
    InvalidateRect(Handle(), nullptr, TRUE);
    AnnouncePick();
    return true;
}

void IconStripWindow::ShowCell(int32_t index) {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int pitch = dialog_.strip_.Pitch();
    const int left = index * pitch;
    const int position = Position();
    if (left < position)
        ScrollTo(left);
    else if (left + pitch > position + client.right)
        ScrollTo(left + pitch - client.right);
}

int IconStripWindow::Position() const {
    SCROLLINFO info{sizeof(info)};
    info.fMask = SIF_POS;
    GetScrollInfo(Handle(), SB_HORZ, &info);
    return info.nPos;
}

void IconStripWindow::ScrollTo(int position) {
    SCROLLINFO info{sizeof(info)};
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void IconStripWindow::Paint() {
    PaintDc paint(Handle());
    const HDC dc = paint.Get();
    RECT client{};
    GetClientRect(Handle(), &client);
    // The grids' colour scheme: the picked cell filled like the registration dialog's cursor, and the system's
    // own colours in high contrast.
    const GridColours colours =
        ChooseGridColours(ReadHighContrast(), ReadSystemColours(), dialog_.host_.CurrentOption());
    const UniqueGdiObject faceBrush(CreateSolidBrush(colours.background));
    const UniqueGdiObject pickedBrush(CreateSolidBrush(colours.cursorFill));
    FillRect(dc, &client, static_cast<HBRUSH>(faceBrush.Get()));
    const IconStrip& strip = dialog_.strip_;
    const CellMetrics& m = strip.metrics;
    const int pitch = strip.Pitch();
    const int inset = strip.IconInset();
    const int offset = Position();
    const UniqueGdiObject facePen(CreatePen(PS_SOLID, m.framePen, colours.background));
    const UniqueGdiObject blackPen(CreatePen(PS_SOLID, m.framePen, colours.cursorFill));
    for (int32_t i = 0; i < strip.cells && i < static_cast<int32_t>(dialog_.stripIcons_.icons.size()); ++i) {
        const int x = i * pitch - offset;
        if (x + pitch < 0 || x > client.right)
            continue;
        const bool selected = strip.Selected(i);
        SelectGuard pen(dc, selected ? blackPen.Get() : facePen.Get());
        SelectGuard brush(dc, selected ? pickedBrush.Get() : faceBrush.Get());
        Rectangle(dc, x, 0, x + m.extent, m.extent);
        // The icons are drawn at the grids' size for this scale, from the file's own image of it where it has one.
        DrawIconEx(dc, x + inset, inset, ToHicon(StripIcon(dialog_.stripIcons_, i, dialog_.host_.Icons())), m.iconSize,
                   m.iconSize, 0, nullptr, DI_NORMAL);
    }
    if (GetFocus() == Handle() && strip.Index >= 0) {
        RECT focus{strip.Index * pitch - offset, 0, strip.Index * pitch - offset + pitch, pitch};
        DrawFocusRect(dc, &focus);
    }
}

void IconStripWindow::Scroll(WPARAM wParam) {
    RECT client{};
    GetClientRect(Handle(), &client);
    int position = Position();
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
        position -= dialog_.strip_.Pitch();
        break;
    case SB_LINERIGHT:
        position += dialog_.strip_.Pitch();
        break;
    case SB_PAGELEFT:
        position -= client.right;
        break;
    case SB_PAGERIGHT:
        position += client.right;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof(info)};
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_HORZ, &info);
        position = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    ScrollTo(std::clamp(position, 0, std::max(dialog_.strip_.Width() - static_cast<int>(client.right), 0)));
}

LRESULT IconStripWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = accessHost_.OnWindowMessage(message, wParam, lParam))
        return *answer;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_HSCROLL:
        Scroll(wParam);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(Handle());
        if (dialog_.strip_.PickAt(static_cast<short>(LOWORD(lParam)) + Position()))
            dialog_.StripPicked();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        // The arrows pick the neighbouring icon, as a click on it would.
        IconStrip& strip = dialog_.strip_;
        const int step = wParam == VK_LEFT ? -1 : wParam == VK_RIGHT ? 1 : 0;
        if (step != 0 && strip.Index >= 0 &&
            strip.PickAt(std::clamp(strip.Index + step, 0, std::max(strip.cells - 1, 0)) * strip.Pitch())) {
            ShowCell(strip.Index);
            InvalidateRect(Handle(), nullptr, TRUE);
            AnnouncePick();
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
