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

const std::vector<std::u16string> kWaitLines{u"None", u"1", u"2", u"3", u"4", u"5", u"Old version"};

// Each page's check boxes and radio groups with the control state they show and set: a new option on a page is
// one row here (and one field of OptionControls).
constexpr OptionDialog::CheckBox kKeyChecks[] = {
    {IDC_SHIFT, &OptionControls::ShiftCheck},
    {IDC_ALT, &OptionControls::AltCheck},
    {IDC_CTRL, &OptionControls::ControlCheck},
    {IDC_DOS, &OptionControls::DosCheck},
    {IDC_KEYPOSITION, &OptionControls::KeyPositionCheck},
    {IDC_KEYONLY, &OptionControls::KeyOnlyCheck},
    {IDC_DIRECTMOVEONLY, &OptionControls::DirectMoveOnlyCheck},
    {IDC_KEYNUMBER, &OptionControls::KeyNumberCheck},
    {IDC_ALTRUNASDISABLE, &OptionControls::AltRunasDisableCheck},
};
constexpr OptionDialog::RadioGroup kKeyRadios[] = {{IDC_KCURSOR0, 3, &OptionControls::KCursorRadio}};

constexpr OptionDialog::CheckBox kMouseChecks[] = {
    {IDC_KICKMOUSE, &OptionControls::KickMouseCheck},
    {IDC_MOUSEPOSITION, &OptionControls::MousePositionCheck},
    {IDC_MOVECURSOR, &OptionControls::MoveCursorCheck},
    {IDC_HOOK, &OptionControls::HookCheck},
};
constexpr OptionDialog::RadioGroup kMouseRadios[] = {
    {IDC_MOUSE0, 3, &OptionControls::MouseRadio},
    {IDC_MCURSOR0, 4, &OptionControls::MCursorRadio},
};

constexpr OptionDialog::CheckBox kOtherChecks[] = {
    {IDC_AUTORUN, &OptionControls::AutoRunCheck},
    {IDC_FULLSCREENKEYOFF, &OptionControls::FullScreenKeyOffCheck},
};
constexpr OptionDialog::RadioGroup kOtherRadios[] = {
    {IDC_RIGHTCLICK0, 2, &OptionControls::RightClickRadio},
    {IDC_FRAME0, 2, &OptionControls::FrameRadio},
    {IDC_COLORS0, 3, &OptionControls::ColorSchemeRadio},
};

} // namespace

// ---- Every page -----------------------------------------------------------------------------------------------

void OptionDialog::Page::LoadBindings() {
    const HWND page = Handle();
    const OptionControls& c = Model();
    for (const CheckBox& box : checks_)
        SetChecked(page, box.id, c.*box.state);
    for (const RadioGroup& group : radios_)
        CheckRadio(page, group.first, group.count, c.*group.state);
}

bool OptionDialog::Page::ReadBinding(int id, int code) {
    OptionControls& c = Model();
    for (const CheckBox& box : checks_)
        if (box.id == id) {
            c.*box.state = IsChecked(Handle(), id);
            return true;
        }
    for (const RadioGroup& group : radios_)
        if (id >= group.first && id < group.first + group.count) {
            if (code != BN_CLICKED)
                return false;
            c.*group.state = CheckedRadio(Handle(), group.first, group.count);
            return true;
        }
    return false;
}

// ---- Key ------------------------------------------------------------------------------------------------------

class OptionDialog::KeyPage : public OptionDialog::Page {
public:
    explicit KeyPage(OptionDialog& dialog) : Page(dialog, kKeyChecks, kKeyRadios) {}

    void Load() override {
        const HWND page = Handle();
        if (!page)
            return;
        const OptionControls& c = Model();
        LoadBindings();
        SelectListLine(page, IDC_KEYLIST, c.KeyListIndex);
        EnableItem(page, IDC_DOS, c.DosEnabled);
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
        OptionControls& c = Model();
        if (id == IDC_KEYLIST && code == LBN_SELCHANGE)
            c.KeyListIndex = SelectedListLine(Handle(), IDC_KEYLIST);
        else if (!ReadBinding(id, code))
            return;
        // The label names the modifiers and the key; any other box leaves it as it was.
        SetItemText(Handle(), IDC_KEYLABEL, DispKeyName(c));
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
    explicit MousePage(OptionDialog& dialog) : Page(dialog, kMouseChecks, kMouseRadios) {}

    void Load() override {
        const HWND page = Handle();
        if (!page)
            return;
        LoadBindings();
        SelectComboLine(page, IDC_COMBOWAIT, Model().ComboWait);
        ApplyEnabling();
    }

protected:
    void OnInitPage() override {
        SetComboLines(Handle(), IDC_COMBOWAIT, kWaitLines);
        Load();
    }

    void OnHelpRequest() override { dialog_.host_.ShowHelp(kHelpOptionMouse); }

    void OnCommand(int id, int code, HWND) override {
        if (id == IDC_COMBOWAIT && code == CBN_SELCHANGE)
            Model().ComboWait = SelectedComboLine(Handle(), id);
        else if (ReadBinding(id, code) && (id == IDC_KICKMOUSE || id == IDC_MOUSEPOSITION))
            ApplyEnabling();
    }

private:
    void ApplyEnabling() {
        const HWND page = Handle();
        const OptionEnabling enabling = EnablingRule(Model());
        EnableItem(page, IDC_MOUSEGROUP, enabling.MouseRadio);
        EnableRadios(page, kMouseRadios[0].first, kMouseRadios[0].count, enabling.MouseRadio);
        EnableItem(page, IDC_MOUSEPOSITION, enabling.MousePositionCheck);
        EnableItem(page, IDC_MCURSORGROUP, enabling.MCursorRadio);
        EnableRadios(page, kMouseRadios[1].first, kMouseRadios[1].count, enabling.MCursorRadio);
        EnableItem(page, IDC_MOVECURSOR, enabling.MoveCursorCheck);
    }
};

// ---- Other ----------------------------------------------------------------------------------------------------

class OptionDialog::OtherPage : public OptionDialog::Page {
public:
    explicit OtherPage(OptionDialog& dialog) : Page(dialog, kOtherChecks, kOtherRadios) {}

    void Load() override {
        if (!Handle())
            return;
        LoadBindings();
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
        OptionControls& c = Model();
        if (id == IDC_TEXTCOLOR && code == BN_CLICKED)
            ChooseLabelColour(c.LabelTextColor);
        else if (id == IDC_BACKCOLOR && code == BN_CLICKED)
            ChooseLabelColour(c.LabelBackColor);
        else
            ReadBinding(id, code);
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

bool OptionDialog::Prepare() {
    if (Handle())
        return true;
    if (!Create(nullptr, u"Setting",
                {{keyPage_.get(), IDD_OPTION_KEY},
                 {mousePage_.get(), IDD_OPTION_MOUSE},
                 {otherPage_.get(), IDD_OPTION_OTHER},
                 {exclusionPage_.get(), IDD_OPTION_EXCLUDE}}))
        return false;
    host_.DialogCreated(DialogKind::Option, FromHwnd(Handle()));
    return true;
}

void OptionDialog::Open() {
    const bool wasShown = IsVisible();
    nowOption_ = host_.CurrentOption();
    controls_ = FillOptionControls(nowOption_, controls_, host_.IsNtPlatform(), host_.IsAutoRun());
    if (!Prepare())
        return;
    LoadPages();
    if (!wasShown)
        PlaceWindowAtCursor(Handle());
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    // Painted at once, every page control with it, rather than piece by piece behind the activation messages the
    // show queued: the sheet comes up whole in about two thirds of the time.
    UpdateWindow(Handle());
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
