// The settings dialogs on the real window system, driven through their controls as a user's clicks would
// reach them, with a host that records what they ask of the program.

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include "dialogs/about_dialog_win.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/help_topics.h"
#include "dialogs/option_dialog_win.h"
#include "support/fake_dialog_host.h"
#include "win/controls_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::FakeDialogHost;

// Messages until the queue is empty, through the dialogs' keyboard handling as in the program's loop.
void Pump() {
    ProcessPendingMessages();
}

HWND Page(HWND sheet, int index) {
    return PropSheet_IndexToHwnd(sheet, index);
}

// A click on a button of a dialog, as the button reports it.
void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void SelectLine(HWND dialog, int id, int line) {
    SelectListLine(dialog, id, line);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A click on the sheet's OK or Cancel button.
void PressSheetButton(HWND sheet, int button) {
    Click(sheet, button == PSBTN_OK ? IDOK : IDCANCEL);
    Pump();
}

void SendHelp(HWND control) {
    HELPINFO info{sizeof(info)};
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = control;
    info.iCtrlId = GetDlgCtrlID(control);
    SendMessageW(control, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

class OptionDialogWin : public ::testing::Test {
protected:
    FakeDialogHost host;
    OptionDialog dialog{host};
};

TEST_F(OptionDialogWin, OpenShowsTheOptionsAndOkAppliesTheChangedKey) {
    host.option.VkKey = 0x20; // not in the key table: "A" is selected
    dialog.Open();
    ASSERT_TRUE(dialog.IsVisible());
    ASSERT_EQ(host.created.size(), 1u);
    EXPECT_EQ(host.created[0].first, DialogKind::Option);
    const HWND key = Page(dialog.Handle(), 0);
    EXPECT_EQ(SelectedListLine(key, IDC_KEYLIST), 0);
    EXPECT_EQ(ItemText(key, IDC_KEYLABEL), u"Ctrl + Alt + A");
    EXPECT_TRUE(IsChecked(key, IDC_CTRL));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(key, IDC_DOS)));

    SelectLine(key, IDC_KEYLIST, 10); // K
    Click(key, IDC_SHIFT);
    EXPECT_EQ(ItemText(key, IDC_KEYLABEL), u"Shift + Ctrl + Alt + K");
    PressSheetButton(dialog.Handle(), PSBTN_OK);

    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_EQ(host.applied[0].VkKey, 0x4B);
    EXPECT_EQ(host.applied[0].VkMod, 7);
    EXPECT_EQ(host.autoRunCalls, std::vector<bool>{false}) << "the automatic start is set on every OK";
    EXPECT_FALSE(dialog.IsVisible()) << "OK closes the sheet";
    EXPECT_TRUE(dialog.Handle()) << "the window is kept for the next opening";
}

TEST_F(OptionDialogWin, CancelAppliesNothingAndTheNextOpeningShowsTheStoredOptions) {
    dialog.Open();
    const HWND key = Page(dialog.Handle(), 0);
    SelectLine(key, IDC_KEYLIST, 10);
    PressSheetButton(dialog.Handle(), PSBTN_CANCEL);
    EXPECT_TRUE(host.applied.empty());
    EXPECT_TRUE(host.autoRunCalls.empty());
    dialog.Open();
    EXPECT_EQ(SelectedListLine(Page(dialog.Handle(), 0), IDC_KEYLIST), 9) << "J again";
}

TEST_F(OptionDialogWin, EscapeAndTheCloseBoxCancel) {
    dialog.Open();
    const HWND sheet = dialog.Handle();
    SelectLine(Page(sheet, 0), IDC_KEYLIST, 10);
    // Escape as the message loop hands it over: the dialog manager turns it into Cancel.
    MSG escape{GetDlgItem(Page(sheet, 0), IDC_KEYLIST), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateDialogMessage(escape));
    Pump();
    EXPECT_FALSE(dialog.IsVisible());
    dialog.Open();
    SendMessageW(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_TRUE(host.applied.empty());
    EXPECT_EQ(dialog.Handle(), sheet);
}

TEST_F(OptionDialogWin, OpeningAgainRefillsTheOpenDialog) {
    dialog.Open();
    const HWND sheet = dialog.Handle();
    SelectLine(Page(sheet, 0), IDC_KEYLIST, 10);
    host.option.VkKey = 0x4C; // changed elsewhere meanwhile
    dialog.Open();
    EXPECT_EQ(dialog.Handle(), sheet) << "the same window";
    EXPECT_EQ(SelectedListLine(Page(sheet, 0), IDC_KEYLIST), 11);
}

TEST_F(OptionDialogWin, MousePageFollowsTheEnablingRule) {
    dialog.Open();
    PropSheet_SetCurSel(dialog.Handle(), nullptr, 1);
    const HWND mouse = Page(dialog.Handle(), 1);
    ASSERT_TRUE(mouse);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(mouse, IDC_MCURSOR0)));
    Click(mouse, IDC_KICKMOUSE);
    for (int id : {IDC_MOUSE0, IDC_MOUSEPOSITION, IDC_MCURSOR0 + 3, IDC_MOVECURSOR})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(mouse, id))) << id;
    Click(mouse, IDC_KICKMOUSE);
    Click(mouse, IDC_MOUSEPOSITION);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(mouse, IDC_MOUSE0 + 2)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(mouse, IDC_MOUSEPOSITION)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(mouse, IDC_MCURSOR0)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(mouse, IDC_MOVECURSOR)));
    SelectComboLine(mouse, IDC_COMBOWAIT, 6);
    SendMessageW(mouse, WM_COMMAND, MAKEWPARAM(IDC_COMBOWAIT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(mouse, IDC_COMBOWAIT)));
    PressSheetButton(dialog.Handle(), PSBTN_OK);
    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_EQ(host.applied[0].MousePositionFlag, -1);
    EXPECT_EQ(host.applied[0].MouseFlag, 1);
    EXPECT_EQ(host.applied[0].WaitDesktop, 6) << "Old version";
}

// A click on any box or radio button lands in its own option, whichever page it is on.
TEST_F(OptionDialogWin, EachBoxAndRadioButtonSetsItsOwnOption) {
    dialog.Open();
    const HWND sheet = dialog.Handle();
    const std::pair<int, int> clicks[] = {
        {0, IDC_SHIFT},        {0, IDC_KEYPOSITION},      {0, IDC_KEYONLY},      {0, IDC_DIRECTMOVEONLY},
        {0, IDC_KEYNUMBER},    {0, IDC_ALTRUNASDISABLE},  {0, IDC_KCURSOR0 + 2}, {1, IDC_MOUSE0 + 2},
        {1, IDC_MCURSOR0 + 3}, {1, IDC_MOVECURSOR},       {1, IDC_HOOK},         {2, IDC_RIGHTCLICK0 + 1},
        {2, IDC_FRAME0},       {2, IDC_FULLSCREENKEYOFF}, {2, IDC_COLORS0 + 2}};
    for (const auto& [page, id] : clicks) {
        PropSheet_SetCurSel(sheet, nullptr, page);
        Click(Page(sheet, page), id);
    }
    PressSheetButton(sheet, PSBTN_OK);
    TOption expected;
    expected.VkMod = 7;
    expected.KeyPositionFlag = expected.KeyOnlyFlag = expected.DirectMoveOnlyFlag = expected.KeyNumberFlag = true;
    expected.AltDisableFlag = expected.MouseHookFlag = true;
    expected.MoveCursorFlag = false;
    expected.KeyCursorFlag = 2;
    expected.MouseFlag = 3;
    expected.MousePositionFlag = 3;
    expected.RightClickFlag = 1;
    expected.FrameType = 0;
    expected.FullScreenKeyOffFlag = true;
    expected.ColorScheme = 2;
    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_TRUE(host.applied[0] == expected);
}

TEST_F(OptionDialogWin, AutoRunFailureIsReportedAndTheOptionsAreStillApplied) {
    host.autoRunFailure = u"The system cannot find the file specified.";
    dialog.Open();
    PropSheet_SetCurSel(dialog.Handle(), nullptr, 2);
    Click(Page(dialog.Handle(), 2), IDC_AUTORUN);
    PressSheetButton(dialog.Handle(), PSBTN_OK);
    EXPECT_EQ(host.autoRunCalls, std::vector<bool>{true});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(u"could not be set to start automatically"), std::u16string::npos);
    EXPECT_NE(host.messages[0].find(u"cannot find the file"), std::u16string::npos);
    EXPECT_EQ(host.applied.size(), 1u);
}

TEST_F(OptionDialogWin, HelpOpensThePagesAndTheDialogsTopics) {
    dialog.Open();
    const HWND sheet = dialog.Handle();
    SendHelp(GetDlgItem(Page(sheet, 0), IDC_KEYLIST));
    PropSheet_SetCurSel(sheet, nullptr, 2);
    SendHelp(GetDlgItem(Page(sheet, 2), IDC_AUTORUN));
    SendHelp(GetDlgItem(sheet, IDOK));                     // F1 on the sheet's own controls: the page on top
    SendMessageW(sheet, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); // the title bar's "?": the whole dialog
    PropSheet_SetCurSel(sheet, nullptr, 3);
    SendHelp(GetDlgItem(Page(sheet, 3), IDC_EXCLUDELIST));
    EXPECT_EQ(host.topics, (std::vector<int32_t>{kHelpOptionKey, kHelpOptionOther, kHelpOptionOther, kHelpOption,
                                                 kHelpOptionExclusions}));
}

// The programs vantrel leaves alone, edited as a user types and clicks.
TEST_F(OptionDialogWin, ExclusionsAreTypedAddedAndRemovedAndOkStoresThem) {
    host.option.ExcludeList = {u"mstsc.exe"};
    dialog.Open();
    const HWND sheet = dialog.Handle();
    PropSheet_SetCurSel(sheet, nullptr, 3);
    const HWND page = Page(sheet, 3);
    ASSERT_TRUE(page);
    EXPECT_EQ(ItemText(page, IDC_EXCLUDELABEL), u"&Programs vantrel leaves alone (1 of 32):");
    const auto type = [&](const wchar_t* text) {
        SetDlgItemTextW(page, IDC_EXCLUDENAME, text);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_EXCLUDENAME, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_EXCLUDENAME)));
    };
    type(L"MSTSC");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_EXCLUDEADD))) << "already listed";
    EXPECT_EQ(SelectedListLine(page, IDC_EXCLUDELIST), 0) << "and shown where it stands";
    type(L"C:\\Windows\\notepad.exe");
    Click(page, IDC_EXCLUDEADD);
    // Enter in the name box adds the name; the sheet stays open.
    type(L"game");
    COMBOBOXINFO combo{sizeof(combo)};
    GetComboBoxInfo(GetDlgItem(page, IDC_EXCLUDENAME), &combo);
    SetFocus(combo.hwndItem);
    MSG enter{combo.hwndItem, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    PreTranslateDialogMessage(enter);
    Pump();
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_EXCLUDELIST, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(page, IDC_EXCLUDENAME), u"");
    SelectLine(page, IDC_EXCLUDELIST, 0);
    Click(page, IDC_EXCLUDEREMOVE);
    PressSheetButton(sheet, PSBTN_OK);
    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_EQ(host.applied[0].ExcludeList, (std::vector<std::u16string>{u"notepad.exe", u"game.exe"}));
}

class EnvironmentDialogsWin : public ::testing::Test {
protected:
    void SetUp() override {
        host.environments.IniMax = 2;
        host.environments.Slot(2).IniOrder = 2;
        host.environments.Slot(2).IniName = u"Home";
    }
    FakeDialogHost host;
    EnvironmentSelectionDialog dialog{host};
};

TEST_F(EnvironmentDialogsWin, AddRenameAndConfirm) {
    dialog.Open();
    const HWND select = dialog.Handle();
    ASSERT_TRUE(select && IsWindowVisible(select));
    EXPECT_EQ(SendDlgItemMessageW(select, IDC_SETLIST, LB_GETCOUNT, 0, 0), 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(select, IDC_DELETE))) << "the first environment is selected";

    Click(select, IDC_ADD);
    ASSERT_TRUE(dialog.Settings());
    const HWND settings = dialog.Settings()->Handle();
    EXPECT_EQ(GetWindowLongPtrW(settings, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(select)) << "owned";
    wchar_t caption[64] = {};
    GetWindowTextW(settings, caption, 64);
    EXPECT_STREQ(caption, L"Add Environment");
    EXPECT_EQ(ItemText(settings, IDC_NAMEEDIT), u"Environment3");
    EXPECT_TRUE(IsChecked(settings, IDC_DISPLAY));
    SetItemText(settings, IDC_NAMEEDIT, u"Work");
    Click(settings, IDOK);
    EXPECT_FALSE(dialog.Settings());
    EXPECT_EQ(SendDlgItemMessageW(select, IDC_SETLIST, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SelectedListLine(select, IDC_SETLIST), 2);

    SelectLine(select, IDC_SETLIST, 1);
    Click(select, IDC_CHANGE);
    ASSERT_TRUE(dialog.Settings());
    EXPECT_EQ(ItemText(dialog.Settings()->Handle(), IDC_NAMEEDIT), u"Home");
    Click(dialog.Settings()->Handle(), IDC_NODISPLAY);
    SetItemText(dialog.Settings()->Handle(), IDC_NAMEEDIT, u"House");
    Click(dialog.Settings()->Handle(), IDOK);
    EXPECT_TRUE(host.plans.empty()) << "nothing happens before OK";

    Click(select, IDOK);
    EXPECT_FALSE(IsWindowVisible(select));
    ASSERT_EQ(host.plans.size(), 1u);
    const EnvironmentPlan& plan = host.plans[0];
    EXPECT_EQ(plan.filesToCreate, std::vector<int32_t>{1 + 2});
    EXPECT_EQ(plan.list.IniMax, 3);
    EXPECT_EQ(plan.list.Slot(2).IniName, u"House");
    EXPECT_EQ(plan.list.Slot(2).IniPopup, 0);
    EXPECT_EQ(plan.list.Slot(3).IniName, u"Work");
    EXPECT_EQ(plan.switchTo, 2) << "the selected line";
}

// Hidden by the hot key and brought back from the tray menu, the dialog still holds the edits waiting for OK or
// Cancel; Cancel drops them and the next opening starts from the live list.
TEST_F(EnvironmentDialogsWin, EditsOutlastAHideAndCancelDropsThem) {
    dialog.Open();
    const HWND select = dialog.Handle();
    SelectLine(select, IDC_SETLIST, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(select, IDC_DELETE)));
    Click(select, IDC_DELETE);
    EXPECT_EQ(SendDlgItemMessageW(select, IDC_SETLIST, LB_GETCOUNT, 0, 0), 1);
    SetWindowPos(select, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    dialog.Open();
    EXPECT_EQ(SendDlgItemMessageW(select, IDC_SETLIST, LB_GETCOUNT, 0, 0), 1);
    Click(select, IDCANCEL);
    EXPECT_TRUE(host.plans.empty());
    dialog.Open();
    EXPECT_EQ(SendDlgItemMessageW(select, IDC_SETLIST, LB_GETCOUNT, 0, 0), 2);
}

TEST_F(EnvironmentDialogsWin, AddIsOffWithFiveEnvironmentsAndHelpHasOneTopic) {
    host.environments.IniMax = 5;
    for (int32_t n = 1; n <= 5; ++n)
        host.environments.Slot(n).IniOrder = n;
    dialog.Open();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.Handle(), IDC_ADD)));
    SendHelp(GetDlgItem(dialog.Handle(), IDC_SETLIST));
    Click(dialog.Handle(), IDC_CHANGE);
    ASSERT_TRUE(dialog.Settings());
    SendMessageW(dialog.Settings()->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_EQ(host.topics, (std::vector<int32_t>{kHelpEnvironments, kHelpEnvironments}));
}

TEST(AboutDialogWin, ShowsNameVersionAndAuthor) {
    FakeDialogHost host;
    AboutDialog about(host);
    about.Open();
    ASSERT_TRUE(about.IsVisible());
    EXPECT_EQ(ItemText(about.Handle(), IDC_ABOUTNAME), u"vantrel");
    EXPECT_EQ(ItemText(about.Handle(), IDC_ABOUTVERSION), u"Version 1.2.3.4\r\n" + std::u16string(kAuthorLine));
    Click(about.Handle(), IDOK);
    EXPECT_FALSE(about.IsVisible()) << "OK hides it";
    EXPECT_TRUE(about.Handle()) << "made once, kept";
}

} // namespace
} // namespace vantrel::win
