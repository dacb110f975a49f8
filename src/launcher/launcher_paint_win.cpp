// The launcher window's drawing: the back buffer, the full paint of a show, the trays (the Program and
// System trays from their kept pictures), the captions, the name panel, and the two cells of a cursor move.

#include <algorithm>

#include "grid/cells.h"
#include "launcher/launcher_window_win.h"
#include "services/grid.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr const wchar_t* kTrayCaptions[3] = {L"Program", L"Task", L"System"};

// Font heights at 96 dpi.
constexpr int kCaptionFontHeight = -12;
constexpr int kNameFontHeight = -14;

UniqueGdiObject MakeFont(int height, int weight, const wchar_t* face) {
    // A face the system lacks (Segoe UI under Wine) is replaced by the font mapper with a similar one.
    return UniqueGdiObject(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_SWISS, face));
}

int TextHeight(HGDIOBJ font) {
    WindowDc screen(nullptr);
    SelectGuard select(screen.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    return metrics.tmHeight;
}

} // namespace

void LauncherWindow::CreateFonts() {
    if (fontScale_ == form_.Scale && captionFont_)
        return;
    fontScale_ = form_.Scale;
    captionFont_ = MakeFont(form_.Scale.Px(kCaptionFontHeight), FW_NORMAL, L"Segoe UI");
    labelHeight_ = TextHeight(captionFont_.Get());
    nameFont_.Reset(); // made again at the new size
}

void LauncherWindow::EnsureBuffer() {
    buffer_.Resize({form_.Layout.width, form_.Layout.height});
}

POINT LauncherWindow::BoxOrigin(int32_t tray) const {
    const BoxBounds& box = form_.Layout.trayBox[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    return {box.left, box.top};
}

CellPaintContext LauncherWindow::PaintContext() const {
    LauncherHost& host = services_.host;
    return {&host.Trays(), &host.Option(), form_.Layout.columns, host.Flags().UsKeyboardFlag, host.Flags().CdPlayerFlag,
            cdMode_,       Colours(),      form_.Layout.cell};
}

void LauncherWindow::Present(const RECT& area, HDC target) {
    if (target) {
        buffer_.CopyTo(target, area);
        return;
    }
    WindowDc dc(Handle());
    buffer_.CopyTo(dc.Get(), area);
}

void LauncherWindow::PaintAll(HDC target) {
    EnsureBuffer();
    if (!buffer_.Ready())
        return;
    const HDC dc = buffer_.Dc();
    const RECT all{0, 0, buffer_.Size().cx, buffer_.Size().cy};
    const GridColours colours = PaintContext().colours;
    const int32_t mode = std::clamp(form_.NowMode, 0, 2);
    const int32_t index = services_.host.Trays()[static_cast<std::size_t>(mode)].NowIndex;
    ShowItemName(mode, index);
    std::array<TrayPictureKey, 3> keys = PictureKeys();
    ComposedFrame frame{form_.Layout, mode, index, nameCaption_, colours, nameFontMeiryo_};
    bool same = composed_ && *composed_ == frame;
    for (int32_t t = 0; same && t < 3; ++t)
        same = pictures_.Holds(t, form_.Layout.trayBox[static_cast<std::size_t>(t)], keys[static_cast<std::size_t>(t)]);
    // Most shows list the same windows as the last one and start with the cursor where it started then: the
    // buffer already holds their picture.
    if (!same) {
        composed_.reset();
        FillRect(dc, &all, Brush(colours.background));
        DrawCaptions(dc);
        DrawNamePanel(dc);
        DrawAllTrays(dc, std::move(keys));
        composed_ = std::move(frame);
    }
    Present(all, target);
    POINT mouse{};
    GetCursorPos(&mouse);
    TraysPainted(nav_, {mouse.x, mouse.y}, GetTickCount());
    ++fullPaints_;
    // A show or a new layout: listeners read the lists again, and hear where the cursor is.
    accessHost_.AnnounceReorder();
    accessHost_.AnnounceFocus(true);
}

void LauncherWindow::DrawCaptions(HDC dc) {
    SelectGuard font(dc, captionFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PaintContext().colours.label);
    for (std::size_t t = 0; t < 3; ++t)
        TextOutW(dc, form_.Layout.labelLeft, form_.Layout.labelTop[t], kTrayCaptions[t],
                 static_cast<int>(wcslen(kTrayCaptions[t])));
    SetBkMode(dc, OPAQUE);
}

void LauncherWindow::DrawNamePanel(HDC dc) {
    const BoxBounds& panel = form_.Layout.namePanel;
    const GridColours colours = PaintContext().colours;
    DrawSunkenFrame(dc, panel.left, panel.top, panel.width, panel.height, colours);
    const BoxBounds& name = form_.Layout.nameLabel;
    RECT label{name.left, name.top, name.left + name.width, name.top + name.height};
    FillRect(dc, &label, Brush(colours.nameBack));
    SelectGuard font(dc, nameFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.nameText);
    // Titles are window captions and file names, not menu texts: an ampersand is shown as it is.
    DrawTextW(dc, WidePtr(nameCaption_), static_cast<int>(nameCaption_.size()), &label,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetBkMode(dc, OPAQUE);
}

std::array<TrayPictureKey, 3> LauncherWindow::PictureKeys() const {
    LauncherHost& host = services_.host;
    const GridColours colours = PaintContext().colours;
    std::array<TrayPictureKey, 3> keys;
    for (int32_t t = 0; t < 3; ++t)
        keys[static_cast<std::size_t>(t)] =
            PictureKeyFor(t, host.Trays()[static_cast<std::size_t>(t)], host.Option(), form_.Layout.columns,
                          host.Flags().UsKeyboardFlag, host.Flags().CdPlayerFlag, cdMode_, colours, form_.Layout.cell);
    return keys;
}

void LauncherWindow::DrawAllTrays(HDC dc, std::array<TrayPictureKey, 3>&& keys) {
    const CellPaintContext context = PaintContext();
    for (int32_t t = 0; t < 3; ++t) {
        const POINT box = BoxOrigin(t);
        pictures_.Draw(dc, t, form_.Layout.trayBox[static_cast<std::size_t>(t)],
                       std::move(keys[static_cast<std::size_t>(t)]),
                       [&](HDC target, POINT origin) { painter_.DrawTray(target, origin, context, t); });
        if (t == form_.NowMode)
            painter_.DrawCell(dc, box, context, t, services_.host.Trays()[static_cast<std::size_t>(t)].NowIndex,
                              kCellCursor);
        const BoxBounds& bounds = form_.Layout.trayBox[static_cast<std::size_t>(t)];
        DrawSunkenFrame(dc, bounds.left, bounds.top, bounds.width, bounds.height, context.colours);
    }
}

void LauncherWindow::ShowItemName(int32_t tray, int32_t index) {
    if (IsValidCell(services_.host.Trays(), tray, index))
        nameCaption_ =
            services_.host.Trays()[static_cast<std::size_t>(tray)].Items[static_cast<std::size_t>(index)].Title;
}

void LauncherWindow::RedrawCell(int32_t tray, int32_t index, int32_t state) {
    composed_.reset();
    const POINT box = BoxOrigin(tray);
    painter_.DrawCell(buffer_.Dc(), box, PaintContext(), tray, index, state);
    const CellMetrics& m = form_.Layout.cell;
    const ScreenPoint origin = CellOrigin(index, form_.Layout.columns, m);
    // The wide pen of the box cursor reaches outside the cell square by half its width.
    const int reach = (m.framePen + 1) / 2;
    Present({box.x + origin.x - reach, box.y + origin.y - reach, box.x + origin.x + m.pitch + reach,
             box.y + origin.y + m.pitch + reach});
}

LRESULT LauncherWindow::FormEraseBackground(HDC dc) {
    // After the full paint every erase is swallowed: the default one would wipe the trays. The full paint
    // comes with the whole window invalid (a show, or a new layout), so the erase's own DC reaches all of it.
    if (EraseBackground(form_))
        PaintAll(dc);
    return 1;
}

void LauncherWindow::FormPaint() {
    const uint32_t before = fullPaints_;
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(Handle(), &ps); // may erase, and so paint everything
    // Uncovered parts come back from the buffer, unless BeginPaint's erase has just drawn them.
    if (dc && form_.ShowFlag && fullPaints_ == before)
        buffer_.CopyTo(dc, ps.rcPaint);
    EndPaint(Handle(), &ps);
}

void LauncherWindow::UpdateNameFont() {
    const bool meiryo = services_.host.Flags().MeiryoFlag;
    if (nameFont_ && meiryo == nameFontMeiryo_)
        return;
    nameFont_ = MakeFont(form_.Scale.Px(kNameFontHeight), FW_NORMAL, meiryo ? L"Meiryo UI" : L"Segoe UI");
    nameFontMeiryo_ = meiryo;
}

} // namespace vantrel::win
