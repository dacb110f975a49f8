#include "win/property_sheet_win.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

#include "win/strings_win.h"

// The fixed head of an extended dialog template (DLGTEMPLATEEX), which the headers do not declare.
struct DLGTEMPLATEEX_HEAD {
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
};

namespace vantrel::win {

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The sheet's own template: hidden until the caller shows it where it belongs (modeless sheets come up visible
// otherwise), and with a "?" in the title bar.
int CALLBACK SheetCallback(HWND, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || !lParam)
        return 0;
    auto* words = reinterpret_cast<WORD*>(lParam);
    if (words[0] == 1 && words[1] == 0xFFFF) {
        auto* extended = reinterpret_cast<DLGTEMPLATEEX_HEAD*>(lParam);
        extended->style &= ~WS_VISIBLE;
        extended->exStyle |= WS_EX_CONTEXTHELP;
    } else {
        auto* plain = reinterpret_cast<DLGTEMPLATE*>(lParam);
        plain->style &= ~WS_VISIBLE;
        plain->dwExtendedStyle |= WS_EX_CONTEXTHELP;
    }
    return 0;
}

// A page template's size in dialog units.
SIZE TemplateSize(int templateId) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    if (!words)
        return {0, 0};
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    // After the styles and the item count come x, y, cx, cy.
    const auto* size = reinterpret_cast<const short*>(reinterpret_cast<const BYTE*>(words) + (extended ? 22 : 14));
    return {size[0], size[1]};
}

} // namespace

INT_PTR PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsHelpRequest(message, wParam)) {
        OnHelpRequest();
        return TRUE;
    }
    if (message == WM_COMMAND) {
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK PropertyPage::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PropertyPage* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->OnInitPage();
        return TRUE;
    }
    self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_DESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    if (message == WM_WINDOWPOSCHANGING && self->sheet_ && !IsRectEmpty(&self->sheet_->pageArea_)) {
        // The sheet places every page it creates at the size it measured in its own font.
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        const RECT& area = self->sheet_->pageArea_;
        if (!(position->flags & SWP_NOSIZE)) {
            position->cx = area.right - area.left;
            position->cy = area.bottom - area.top;
        }
        if (!(position->flags & SWP_NOMOVE)) {
            position->x = area.left;
            position->y = area.top;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY) {
        if (self->sheet_)
            self->sheet_->accepted_ = true;
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    }
    return self->OnMessage(message, wParam, lParam);
}

PropertySheetDialog::~PropertySheetDialog() {
    Destroy();
}

bool PropertySheetDialog::Create(HWND owner, const std::u16string& caption, const std::vector<PageSpec>& pages) {
    if (hwnd_)
        return true;
    std::vector<PROPSHEETPAGEW> sheetPages;
    for (const PageSpec& entry : pages) {
        entry.page->sheet_ = this;
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof(page);
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = GetModuleHandleW(nullptr);
        page.pszTemplate = MAKEINTRESOURCEW(entry.templateId);
        page.pfnDlgProc = &PropertyPage::Proc;
        page.lParam = reinterpret_cast<LPARAM>(entry.page);
        sheetPages.push_back(page);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.pfnCallback = &SheetCallback;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = WidePtr(caption);
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.ppsp = sheetPages.data();
    accepted_ = false;
    const INT_PTR created = PropertySheetW(&header);
    if (created <= 0)
        return false;
    hwnd_ = reinterpret_cast<HWND>(created);
    SetWindowSubclass(hwnd_, &PropertySheetDialog::Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    RegisterDialogTarget(this);
    FitToPages(pages);
    return true;
}

void PropertySheetDialog::FitToPages(const std::vector<PageSpec>& pages) {
    const HWND firstPage = PropSheet_GetCurrentPageHwnd(hwnd_);
    const HWND tab = PropSheet_GetTabControl(hwnd_);
    if (!firstPage || !tab)
        return;
    SIZE units{0, 0};
    for (const PageSpec& entry : pages) {
        const SIZE size = TemplateSize(entry.templateId);
        units.cx = std::max(units.cx, size.cx);
        units.cy = std::max(units.cy, size.cy);
    }
    // The pages share one font; the first one measures them all.
    RECT need{0, 0, units.cx, units.cy};
    MapDialogRect(firstPage, &need);

    RECT area{};
    GetWindowRect(tab, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    const int dx = std::max(0L, need.right - (area.right - area.left));
    const int dy = std::max(0L, need.bottom - (area.bottom - area.top));
    pageArea_ = {area.left, area.top, area.right + dx, area.bottom + dy};

    RECT sheet{};
    GetWindowRect(hwnd_, &sheet);
    SetWindowPos(hwnd_, nullptr, 0, 0, sheet.right - sheet.left + dx, sheet.bottom - sheet.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT tabRect{};
    GetWindowRect(tab, &tabRect);
    SetWindowPos(tab, nullptr, 0, 0, tabRect.right - tabRect.left + dx, tabRect.bottom - tabRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The buttons along the bottom edge move with it.
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") != 0)
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(firstPage, nullptr, pageArea_.left, pageArea_.top, pageArea_.right - pageArea_.left,
                 pageArea_.bottom - pageArea_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PropertySheetDialog::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

int PropertySheetDialog::CurrentPage() const {
    if (!hwnd_)
        return -1;
    return static_cast<int>(
        SendMessageW(hwnd_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(PropSheet_GetCurrentPageHwnd(hwnd_)), 0));
}

bool PropertySheetDialog::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
        return false;
    // Alt+letter with the focus on the sheet itself (its tabs, after Ctrl+Tab) is meant for the page on top,
    // but the sheet's own dialog manager does not look into its pages everywhere (Wine does not).
    const HWND page = PropSheet_GetCurrentPageHwnd(hwnd_);
    if (msg.message == WM_SYSCHAR && page && msg.hwnd != page && !IsChild(page, msg.hwnd)) {
        MSG forPage = msg;
        forPage.hwnd = page;
        if (IsDialogMessageW(page, &forPage))
            return true;
    }
    const bool handled = PropSheet_IsDialogMessage(hwnd_, &msg) != FALSE;
    CheckEnded();
    KeepFocusVisible();
    return handled;
}

void PropertySheetDialog::KeepFocusVisible() {
    // A page change by Ctrl+Tab can leave the focus on a control of the page just hidden (Wine does), where keys
    // and F1 would act unseen; it goes to the tabs then, as when the page is changed there.
    const HWND focus = GetFocus();
    if (hwnd_ && focus && IsChild(hwnd_, focus) && !IsWindowVisible(focus))
        SetFocus(PropSheet_GetTabControl(hwnd_));
}

void PropertySheetDialog::Close(bool accepted) {
    ShowWindow(hwnd_, SW_HIDE);
    OnClosed(accepted);
}

void PropertySheetDialog::CheckEnded() {
    // A sheet the system ended has no current page any more.
    if (!hwnd_ || PropSheet_GetCurrentPageHwnd(hwnd_))
        return;
    const bool accepted = accepted_;
    accepted_ = false;
    Close(accepted);
    Destroy();
}

LRESULT CALLBACK PropertySheetDialog::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<PropertySheetDialog*>(data);
    if (IsHelpRequest(message, wParam)) {
        self->OnSheetHelpRequest(message == WM_SYSCOMMAND);
        return TRUE;
    }
    // OK, Cancel (also Escape and Enter through the dialog manager) and the close box hide the sheet instead of
    // ending it.
    const bool command = message == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 0);
    if (command && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        self->Close(LOWORD(wParam) == IDOK);
        return 0;
    }
    if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        self->Close(false);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &PropertySheetDialog::Subclass, kSubclassId);
        UnregisterDialogTarget(self);
        self->hwnd_ = nullptr;
        self->OnSheetDestroyed(hwnd);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace vantrel::win
