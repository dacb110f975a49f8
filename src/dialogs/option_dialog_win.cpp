#include "dialogs/option_dialog_win.h"

#include <commdlg.h>

#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/help_topics.h"
#include "dialogs/option_exclusions_win.h"
#include "services/placement_win.h"
#include "win/controls_win.h"
#include "win/dpi_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

constexpr int kKeyCursorRadios = 3;
constexpr int kMouseRadios = 3;
constexpr int kMouseCursorRadios = 4;
constexpr int kRightClickRadios = 2;
constexpr int kFrameRadios = 2;

const std::vector<std::u16string> kWaitLines{u"None", u"1", u"2", u"3", u"4", u"5", u"Old version"};

bool Clicked(int code) {
    return code == BN_CLICKED;
}

} // namespace

// ---- Key ------------------------------------------------------------------------------------------------------

class OptionDialog::KeyPage : public OptionDialog::Page {
public:
    using Page::Page;

    void Load() override {
        const HWND page = Handle();
        if (!page)
            return;
        const OptionControls& c = Model();
        SetChecked(page, IDC_SHIFT, c.ShiftCheck);
        SetChecked(page, IDC_ALT, c.AltCheck);
        SetChecked(page, IDC_CTRL, c.ControlCheck);
        SelectListLine(page, IDC_KEYLIST, c.KeyListIndex);
        CheckRadio(page, IDC_KCURSOR0, kKeyCursorRadios, c.KCursorRadio);
        SetChecked(page, IDC_DOS, c.DosCheck);
        EnableItem(page, IDC_DOS, c.DosEnabled);
        SetChecked(page, IDC_KEYPOSITION, c.KeyPositionCheck);
        SetChecked(page, IDC_KEYONLY, c.KeyOnlyCheck);
        SetChecked(page, IDC_DIRECTMOVEONLY, c.DirectMoveOnlyCheck);
        SetChecked(page, IDC_KEYNUMBER, c.KeyNumberCheck);
        SetChecked(page, IDC_ALTRUNASDISABLE, c.AltRunasDisableCheck);
        SetItemText(page, IDC_KEYLABEL, DispKeyName(c));
    }

protected:
    void OnInitPage() override {
        std::vector<std::u16string> names;
        for (const KeyTableEntry& key : KeyTable)
            names.emplace_back(key.name);
        SetListLines(Handle(), IDC_KEYLIST, names);
        Load();
    }

    void OnHelpRequest() override { dialog_.host_.ShowHelp(kHelpOptionKey); }

    void OnCommand(int id, int code, HWND) override {
        const HWND page = Handle();
        OptionControls& c = Model();
        switch (id) {
        case IDC_SHIFT:
        case IDC_ALT:
        case IDC_CTRL:
            c.ShiftCheck = IsChecked(page, IDC_SHIFT);
            c.AltCheck = IsChecked(page, IDC_ALT);
            c.ControlCheck = IsChecked(page, IDC_CTRL);
            break;
        case IDC_KEYLIST:
            if (code != LBN_SELCHANGE)
                return;
            c.KeyListIndex = SelectedListLine(page, IDC_KEYLIST);
            break;
        case IDC_DOS:
            c.DosCheck = IsChecked(page, IDC_DOS);
            return;
        case IDC_KEYPOSITION:
            c.KeyPositionCheck = IsChecked(page, id);
            return;
        case IDC_KEYONLY:
            c.KeyOnlyCheck = IsChecked(page, id);
            return;
        case IDC_DIRECTMOVEONLY:
            c.DirectMoveOnlyCheck = IsChecked(page, id);
            return;
        case IDC_KEYNUMBER:
            c.KeyNumberCheck = IsChecked(page, id);
            return;
        case IDC_ALTRUNASDISABLE:
            c.AltRunasDisableCheck = IsChecked(page, id);
            return;
        default:
            if (id >= IDC_KCURSOR0 && id < IDC_KCURSOR0 + kKeyCursorRadios && Clicked(code))
                c.KCursorRadio = CheckedRadio(page, IDC_KCURSOR0, kKeyCursorRadios);
            return;
        }
        SetItemText(page, IDC_KEYLABEL, DispKeyName(c));
    }

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The key combination stands in a white box.
        if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_KEYLABEL) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, RGB(255, 255, 255));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            if (!dialog_.keyLabelBrush_)
                dialog_.keyLabelBrush_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
            return reinterpret_cast<INT_PTR>(dialog_.keyLabelBrush_.Get());
        }
        return Page::OnMessage(message, wParam, lParam);
    }
};

// ---- Mouse ----------------------------------------------------------------------------------------------------

class OptionDialog::MousePage : public OptionDialog::Page {
public:
    using Page::Page;

    void Load() override {
        const HWND page = Handle();
        if (!page)
            return;
        const OptionControls& c = Model();
        SetChecked(page, IDC_KICKMOUSE, c.KickMouseCheck);
        CheckRadio(page, IDC_MOUSE0, kMouseRadios, c.MouseRadio);
        SetChecked(page, IDC_MOUSEPOSITION, c.MousePositionCheck);
        CheckRadio(page, IDC_MCURSOR0, kMouseCursorRadios, c.MCursorRadio);
        SetChecked(page, IDC_MOVECURSOR, c.MoveCursorCheck);
        SetChecked(page, IDC_HOOK, c.HookCheck);
        SelectComboLine(page, IDC_COMBOWAIT, c.ComboWait);
        ApplyEnabling();
    }

protected:
    void OnInitPage() override {
        SetComboLines(Handle(), IDC_COMBOWAIT, kWaitLines);
        Load();
    }

    void OnHelpRequest() override { dialog_.host_.ShowHelp(kHelpOptionMouse); }

    void OnCommand(int id, int code, HWND) override {
        const HWND page = Handle();
        OptionControls& c = Model();
        if (id == IDC_KICKMOUSE || id == IDC_MOUSEPOSITION) {
            c.KickMouseCheck = IsChecked(page, IDC_KICKMOUSE);
            c.MousePositionCheck = IsChecked(page, IDC_MOUSEPOSITION);
            ApplyEnabling();
        } else if (id == IDC_MOVECURSOR) {
            c.MoveCursorCheck = IsChecked(page, id);
        } else if (id == IDC_HOOK) {
            c.HookCheck = IsChecked(page, id);
        } else if (id == IDC_COMBOWAIT && code == CBN_SELCHANGE) {
            c.ComboWait = SelectedComboLine(page, id);
        } else if (id >= IDC_MOUSE0 && id < IDC_MOUSE0 + kMouseRadios && Clicked(code)) {
            c.MouseRadio = CheckedRadio(page, IDC_MOUSE0, kMouseRadios);
        } else if (id >= IDC_MCURSOR0 && id < IDC_MCURSOR0 + kMouseCursorRadios && Clicked(code)) {
            c.MCursorRadio = CheckedRadio(page, IDC_MCURSOR0, kMouseCursorRadios);
        }
    }

private:
    void ApplyEnabling() {
        const HWND page = Handle();
        const OptionEnabling enabling = EnablingRule(Model());
        EnableItem(page, IDC_MOUSEGROUP, enabling.MouseRadio);
        EnableRadios(page, IDC_MOUSE0, kMouseRadios, enabling.MouseRadio);
        EnableItem(page, IDC_MOUSEPOSITION, enabling.MousePositionCheck);
        EnableItem(page, IDC_MCURSORGROUP, enabling.MCursorRadio);
        EnableRadios(page, IDC_MCURSOR0, kMouseCursorRadios, enabling.MCursorRadio);
        EnableItem(page, IDC_MOVECURSOR, enabling.MoveCursorCheck);
    }
};

// ---- Other ----------------------------------------------------------------------------------------------------

class OptionDialog::OtherPage : public OptionDialog::Page {
public:
    using Page::Page;

    void Load() override {
        const HWND page = Handle();
        if (!page)
            return;
        const OptionControls& c = Model();
        CheckRadio(page, IDC_RIGHTCLICK0, kRightClickRadios, c.RightClickRadio);
        CheckRadio(page, IDC_FRAME0, kFrameRadios, c.FrameRadio);
        SetChecked(page, IDC_AUTORUN, c.AutoRunCheck);
        SetChecked(page, IDC_FULLSCREENKEYOFF, c.FullScreenKeyOffCheck);
        InvalidateRect(Item(IDC_COLORLABEL), nullptr, TRUE);
    }

protected:
    void OnInitPage() override {
        // "A" in bold Consolas, as the launcher draws its direct-key badges.
        if (!dialog_.colorFont_) {
            LOGFONTW font{};
            // 14 pixels at 96 dots per inch, scaled to the DPI of the dialog's monitor.
            font.lfHeight = -WindowScale(Handle()).Px(14);
            font.lfWeight = FW_BOLD;
            wcscpy(font.lfFaceName, L"Consolas");
            dialog_.colorFont_.Reset(CreateFontIndirectW(&font));
        }
        SendDlgItemMessageW(Handle(), IDC_COLORLABEL, WM_SETFONT, reinterpret_cast<WPARAM>(dialog_.colorFont_.Get()),
                            FALSE);
        Load();
    }

    void OnHelpRequest() override { dialog_.host_.ShowHelp(kHelpOptionOther); }

    void OnCommand(int id, int code, HWND) override {
        const HWND page = Handle();
        OptionControls& c = Model();
        if (id == IDC_AUTORUN) {
            c.AutoRunCheck = IsChecked(page, id);
        } else if (id == IDC_FULLSCREENKEYOFF) {
            c.FullScreenKeyOffCheck = IsChecked(page, id);
        } else if (id == IDC_TEXTCOLOR && Clicked(code)) {
            ChooseLabelColour(c.LabelTextColor);
        } else if (id == IDC_BACKCOLOR && Clicked(code)) {
            ChooseLabelColour(c.LabelBackColor);
        } else if (id >= IDC_RIGHTCLICK0 && id < IDC_RIGHTCLICK0 + kRightClickRadios && Clicked(code)) {
            c.RightClickRadio = CheckedRadio(page, IDC_RIGHTCLICK0, kRightClickRadios);
        } else if (id >= IDC_FRAME0 && id < IDC_FRAME0 + kFrameRadios && Clicked(code)) {
            c.FrameRadio = CheckedRadio(page, IDC_FRAME0, kFrameRadios);
        }
    }

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_COLORLABEL) {
            const OptionControls& c = Model();
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, static_cast<COLORREF>(c.LabelTextColor));
            SetBkColor(dc, static_cast<COLORREF>(c.LabelBackColor));
            dialog_.labelBrush_.Reset(CreateSolidBrush(static_cast<COLORREF>(c.LabelBackColor)));
            return reinterpret_cast<INT_PTR>(dialog_.labelBrush_.Get());
        }
        return Page::OnMessage(message, wParam, lParam);
    }

private:
    void ChooseLabelColour(int32_t& colour) {
        CHOOSECOLORW choose{};
        choose.lStructSize = sizeof(choose);
        choose.hwndOwner = Handle();
        choose.rgbResult = static_cast<COLORREF>(colour);
        choose.lpCustColors = dialog_.customColors_.data();
        choose.Flags = CC_RGBINIT | CC_ANYCOLOR;
        // The colour dialog is modal to this page: no trigger may hide the sheet under it.
        dialog_.host_.BeginModal();
        const bool chosen = ChooseColorW(&choose) != FALSE;
        dialog_.host_.EndModal();
        if (!chosen)
            return;
        colour = static_cast<int32_t>(choose.rgbResult & 0xFFFFFF);
        InvalidateRect(Item(IDC_COLORLABEL), nullptr, TRUE);
    }
};

// ---- The sheet ------------------------------------------------------------------------------------------------

INT_PTR OptionDialog::Page::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return PropertyPage::OnMessage(message, wParam, lParam);
}

OptionDialog::OptionDialog(DialogHost& host)
    : host_(host), keyPage_(std::make_unique<KeyPage>(*this)), mousePage_(std::make_unique<MousePage>(*this)),
      otherPage_(std::make_unique<OtherPage>(*this)), exclusionPage_(std::make_unique<ExclusionPage>(*this)) {
    customColors_.fill(RGB(255, 255, 255));
}

OptionDialog::~OptionDialog() {
    Destroy();
}

void OptionDialog::Open() {
    const bool wasShown = IsVisible();
    nowOption_ = host_.CurrentOption();
    controls_ = FillOptionControls(nowOption_, controls_, host_.IsNtPlatform(), host_.IsAutoRun());
    if (!Handle()) {
        if (!Create(nullptr, u"Setting",
                    {{keyPage_.get(), IDD_OPTION_KEY},
                     {mousePage_.get(), IDD_OPTION_MOUSE},
                     {otherPage_.get(), IDD_OPTION_OTHER},
                     {exclusionPage_.get(), IDD_OPTION_EXCLUDE}}))
            return;
        host_.DialogCreated(DialogKind::Option, FromHwnd(Handle()));
    }
    LoadPages();
    if (!wasShown)
        PlaceWindowAtCursor(Handle());
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void OptionDialog::LoadPages() {
    keyPage_->Load();
    mousePage_->Load();
    otherPage_->Load();
    exclusionPage_->Load();
}

void OptionDialog::OnClosed(bool accepted) {
    if (!accepted)
        return;
    nowOption_ = ReadOptionControls(controls_, nowOption_);
    // The automatic start is set on every OK, whether or not the box was touched.
    if (const auto failure = host_.SetAutoRun(controls_.AutoRunCheck))
        host_.ShowMessage(0, AutoRunFailureText(controls_.AutoRunCheck, *failure), MessageKind::Warning);
    host_.SetAllOption(nowOption_);
}

void OptionDialog::OnSheetHelpRequest(bool titleBar) {
    // F1 on the tabs or the buttons means the page on top; the title bar's "?" the dialog as a whole.
    host_.ShowHelp(titleBar ? kHelpOption : PageTopic(CurrentPage()));
}

void OptionDialog::OnSheetDestroyed(HWND window) {
    host_.DialogDestroyed(FromHwnd(window));
}

int32_t OptionDialog::PageTopic(int page) const {
    switch (page) {
    case 0:
        return kHelpOptionKey;
    case 1:
        return kHelpOptionMouse;
    case 2:
        return kHelpOptionOther;
    case 3:
        return kHelpOptionExclusions;
    default:
        return kHelpOption;
    }
}

} // namespace vantrel::win
