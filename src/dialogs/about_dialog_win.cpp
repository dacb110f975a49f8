#include "dialogs/about_dialog_win.h"

#include "dialogs/dialog_ids.h"
#include "services/placement_win.h"
#include "win/controls_win.h"
#include "win/dpi_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

AboutDialog::AboutDialog(DialogHost& host) : host_(host) {}

AboutDialog::~AboutDialog() {
    Destroy();
}

bool AboutDialog::Prepare() {
    if (Handle())
        return true;
    if (!CreateModeless(IDD_ABOUT, nullptr))
        return false;
    host_.DialogCreated(DialogKind::About, FromHwnd(Handle()));
    return true;
}

void AboutDialog::Open() {
    if (!Prepare())
        return;
    const bool wasShown = IsVisible();
    SetItemText(Handle(), IDC_ABOUTNAME, u"vantrel");
    SetItemText(Handle(), IDC_ABOUTVERSION, host_.VersionText() + u"\r\n" + kAuthorLine);
    if (!wasShown)
        PlaceWindowAtCursor(Handle());
    ShowInFront();
    SetFocus(Item(IDOK));
}

bool AboutDialog::OnInitDialog() {
    // The program's own icon at the large-icon size of the dialog's monitor; a program without one (a test) shows
    // none.
    const int size = SystemMetricAt(SM_CXICON, WindowScale(Handle()));
    icon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0)));
    if (icon_)
        SendDlgItemMessageW(Handle(), IDC_ABOUTICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
    LOGFONTW font{};
    if (const auto current = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)))
        GetObjectW(current, sizeof(font), &font);
    font.lfHeight = font.lfHeight * 3 / 2;
    font.lfWeight = FW_BOLD;
    nameFont_.Reset(CreateFontIndirectW(&font));
    SendDlgItemMessageW(Handle(), IDC_ABOUTNAME, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), FALSE);
    return true;
}

void AboutDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK || id == IDCANCEL)
        Hide();
}

void AboutDialog::OnDestroy() {
    host_.DialogDestroyed(FromHwnd(Handle()));
}

NoticeDialog::~NoticeDialog() {
    Destroy();
}

void NoticeDialog::Show(const std::u16string& text) {
    if (!Handle() && !CreateModeless(IDD_NOTICE, nullptr))
        return;
    SetItemText(Handle(), IDC_NOTICETEXT, text);
    FitText(text);
    if (!IsVisible())
        PlaceWindowAtCursor(Handle());
    ShowInFront();
    SetFocus(Item(IDOK));
}

void NoticeDialog::FitText(const std::u16string& text) {
    // The text's height at the control's width, in the control's font; the dialog grows or shrinks with it.
    const HWND label = Item(IDC_NOTICETEXT);
    RECT client{};
    GetClientRect(label, &client);
    RECT need{0, 0, client.right, 0};
    {
        WindowDc dc(label);
        SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        DrawTextW(dc.Get(), WidePtr(text), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    }
    const int grow = need.bottom - client.bottom;
    if (grow == 0)
        return;
    RECT r{};
    GetWindowRect(label, &r);
    SetWindowPos(label, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + grow, SWP_NOMOVE | SWP_NOZORDER);
    const HWND ok = Item(IDOK);
    GetWindowRect(ok, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(ok, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(Handle(), &r);
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top + grow, SWP_NOMOVE | SWP_NOZORDER);
}

bool NoticeDialog::OnInitDialog() {
    // A notice reads like a message box and uses the system's message font.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        textFont_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
        SendDlgItemMessageW(Handle(), IDC_NOTICETEXT, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
    }
    SendDlgItemMessageW(Handle(), IDC_NOTICEICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
    return true;
}

void NoticeDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK || id == IDCANCEL)
        Hide();
}

} // namespace vantrel::win
