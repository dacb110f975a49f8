// The icon dialogs on the real window system: the registration dialog's grids driven with the mouse messages and
// keys a user's hand sends, its child dialogs' buttons clicked, with a host that records what they ask of the
// program.

#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "dialogs/dialog_ids.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/registration_dialog_win.h"
#include "grid/cells.h"
#include "services/system_win.h"
#include "support/fake_dialog_host.h"
#include "win/controls_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::FakeDialogHost;

RData Item(const char16_t* title) {
    RData item;
    item.Title = title;
    item.ExeFileName = std::u16string(u"C:\\Tools\\") + title + u".exe";
    return item;
}

std::vector<std::u16string> Titles(const ItemList& list) {
    std::vector<std::u16string> titles;
    for (const RData& item : list)
        titles.push_back(item.Title);
    return titles;
}

LPARAM CellPoint(int32_t index, int32_t columns) {
    const ScreenPoint cell = CellOrigin(index, columns);
    return MAKELPARAM(cell.x + kCellPitch / 2, cell.y + kCellPitch / 2);
}

class RegistrationDialogWin : public ::testing::Test {
protected:
    void SetUp() override {
        host.option.ColMax = 7;
        host.trays[ProgramTray].Items = {Item(u"Alpha"), Item(u"Bravo"), Item(u"Charlie")};
        host.trays[SystemTray].Items = {Item(u"Tools")};
    }

    HWND Grid() const { return dialog.Grid(ProgramTray); }
    void Press(int32_t cell) { SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(cell, 7)); }
    void MoveTo(int32_t cell) { SendMessageW(Grid(), WM_MOUSEMOVE, MK_LBUTTON, CellPoint(cell, 7)); }
    void Release(int32_t cell) { SendMessageW(Grid(), WM_LBUTTONUP, 0, CellPoint(cell, 7)); }
    void Drag(int32_t from, int32_t to) {
        Press(from);
        MoveTo(to);
        Release(to);
    }
    // The Delete key on the cell under the mouse: the question on screen.
    HWND AskToDelete(int32_t cell) {
        SendMessageW(Grid(), WM_MOUSEMOVE, 0, CellPoint(cell, 7));
        SendMessageW(Grid(), WM_KEYDOWN, VK_DELETE, 0);
        return FindWindowW(MAKEINTATOM(32770), L"Delete icon");
    }
    std::vector<std::u16string> Program() const { return Titles(host.trays[ProgramTray].Items); }

    FakeDialogHost host;
    RegistrationDialog dialog{host};
};

using Names = std::vector<std::u16string>;

TEST_F(RegistrationDialogWin, ADragReordersLiveAndOkWritesTraysAndOptions) {
    dialog.Open();
    ASSERT_TRUE(dialog.IsVisible());
    Press(0);
    MoveTo(1);
    EXPECT_EQ(Program(), (Names{u"Bravo", u"Alpha", u"Charlie"})) << "the list follows the mouse before the release";
    MoveTo(2);
    Release(2);
    EXPECT_EQ(Program(), (Names{u"Bravo", u"Charlie", u"Alpha"}));
    EXPECT_EQ(ItemText(dialog.Handle(), IDC_NAMELABEL2), u"Alpha");
    SendMessageW(GetDlgItem(dialog.Handle(), IDOK), BM_CLICK, 0, 0);
    EXPECT_FALSE(dialog.IsVisible());
    ASSERT_EQ(host.saves, std::vector<bool>{true});
    EXPECT_EQ(Titles(host.savedTrays[0].first), (Names{u"Bravo", u"Charlie", u"Alpha"}));
}

TEST_F(RegistrationDialogWin, CancelPutsBackTraysAndColumnsIncludingWhatAChildDialogDeleted) {
    dialog.Open();
    Drag(0, 2);
    const HWND question = AskToDelete(0);
    ASSERT_NE(question, nullptr);
    SendMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(Program(), (Names{u"Charlie", u"Alpha"}));
    SendMessageW(GetDlgItem(dialog.Handle(), IDC_WIDTHCOMBO), CB_SETCURSEL, 20 - 3, 0);
    SendMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_WIDTHCOMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.Handle(), IDC_WIDTHCOMBO)));
    EXPECT_EQ(host.option.ColMax, 20) << "the column count applies at once";

    SendMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(Program(), (Names{u"Alpha", u"Bravo", u"Charlie"}));
    EXPECT_EQ(host.option.ColMax, 7);
    EXPECT_TRUE(host.saves.empty());
}

// Cancel after a hide undoes the visit (registration_drag.sh); but a switch to another environment while the dialog
// was hidden put that environment's trays in use, which Cancel must leave alone.
TEST_F(RegistrationDialogWin, CancelAfterAnEnvironmentSwitchLeavesTheNewTraysAlone) {
    dialog.Open();
    SetWindowPos(dialog.Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE); // as HideDialogs
    host.environments.IniMax = host.environments.IniNo = 2;
    host.environments.Slot(2).IniOrder = 2;
    host.trays[ProgramTray].Items = {Item(u"Echo")};
    dialog.Open();
    SendMessageW(GetDlgItem(dialog.Handle(), IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(Program(), (Names{u"Echo"}));
}

// A right click or Delete on another item while a question is open brings that question forward; it never goes
// without a word.
TEST_F(RegistrationDialogWin, AnOpenQuestionComesForwardInsteadOfGoing) {
    dialog.Open();
    const HWND question = AskToDelete(0);
    EXPECT_EQ(AskToDelete(1), question);
    EXPECT_EQ(ItemText(question, IDC_DELLABEL), u"Alpha\r\nDo you want to delete it?");
}

// The delete question names an item; whatever happens to the list while it is open, "&Yes" removes that item or
// nothing, never the one that came to its index.
TEST_F(RegistrationDialogWin, TheDeleteQuestionActsOnItsOwnItemAfterTheListChanged) {
    dialog.Open();
    HWND question = AskToDelete(1); // Bravo
    ASSERT_NE(question, nullptr);
    Drag(0, 2); // Bravo, Charlie, Alpha: index 1 is Charlie now
    SendMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(Program(), (Names{u"Charlie", u"Alpha"}));

    question = AskToDelete(0); // Charlie
    ASSERT_NE(question, nullptr);
    host.trays[ProgramTray].Items.erase(host.trays[ProgramTray].Items.begin()); // gone meanwhile
    const std::size_t messages = host.messages.size();
    SendMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(Program(), (Names{u"Alpha"}));
    EXPECT_EQ(host.messages.size(), messages + 1) << "the refusal is told";
    EXPECT_FALSE(IsWindow(question));
}

TEST_F(RegistrationDialogWin, DroppedFilesLandOnTheCellUnderThePointInTheirOrder) {
    // Real files with real icons: the grid draws what it gets.
    Win32SystemQueries system;
    Win32IconSource icons(system);
    host.systemQueries = &system;
    host.icons = &icons;
    const std::u16string windows = system.WindowsDirectory();
    dialog.Open();
    POINT at{};
    const ScreenPoint cell = CellOrigin(1, 7);
    at = {cell.x + 5, cell.y + 5};
    ClientToScreen(Grid(), &at);
    dialog.DropFiles(at, {windows + u"\\notepad.exe", windows + u"\\regedit.exe"});
    EXPECT_EQ(Program().size(), 3u) << "the drop returns before the files are looked at";
    ProcessPendingMessages();
    EXPECT_EQ(Program(), (Names{u"Alpha", u"notepad.exe", u"regedit.exe", u"Bravo", u"Charlie"}));
    EXPECT_EQ(ItemText(dialog.Handle(), IDC_NAMELABEL2), u"notepad.exe") << "the cursor on the first dropped file";
    // Cancel before the icons go: the added items and the dialog's copies let go of theirs.
    SendMessageW(GetDlgItem(dialog.Handle(), IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(Program(), (Names{u"Alpha", u"Bravo", u"Charlie"}));
}

// ---- Icon setting --------------------------------------------------------------------------------------------

class IconSettingDialogWin : public ::testing::Test {
protected:
    void SetUp() override {
        host.systemQueries = &system;
        host.icons = &icons;
        const std::u16string notepad = system.WindowsDirectory() + u"\\notepad.exe";
        for (const char16_t* title : {u"Alpha", u"Bravo"}) {
            RData item = Item(title);
            item.ExeFileName = notepad;
            item.IconFileName = notepad;
            host.trays[ProgramTray].Items.push_back(item);
        }
    }
    void TearDown() override {
        dialog.reset();
        host.trays = {}; // the items let go of their icons before the icon source goes
    }

    bool Open(int32_t index, bool writeFlag) {
        dialog = std::make_unique<IconSettingDialog>(host, [this](int32_t tray) { applied.push_back(tray); });
        return dialog->Open(nullptr, ProgramTray, index, writeFlag, {});
    }
    HWND Control(int id) const { return GetDlgItem(dialog->Handle(), id); }
    void PressOk() { SendMessageW(Control(IDOK), BM_CLICK, 0, 0); }

    Win32SystemQueries system;
    Win32IconSource icons{system};
    FakeDialogHost host;
    std::unique_ptr<IconSettingDialog> dialog;
    std::vector<int32_t> applied;
};

TEST_F(IconSettingDialogWin, AFunctionKeyAndANewTitleReachTheItemItWasOpenedForAndTheFileAtOnce) {
    ASSERT_TRUE(Open(1, true)); // Bravo, as from the launcher's popup menu
    SendMessageW(Control(IDC_DIRECTEDIT), WM_KEYDOWN, VK_F10, 0);
    EXPECT_EQ(ItemText(dialog->Handle(), IDC_DIRECTEDIT), u"F10");
    SetItemText(dialog->Handle(), IDC_TITLEEDIT, u"Bravo renamed");
    // Meanwhile another item comes first: Bravo is the third now.
    host.trays[ProgramTray].Items.insert(host.trays[ProgramTray].Items.begin(), Item(u"Drive"));
    PressOk();
    EXPECT_EQ(Titles(host.trays[ProgramTray].Items), (Names{u"Drive", u"Alpha", u"Bravo renamed"}));
    EXPECT_EQ(host.trays[ProgramTray].Items[2].Status >> 8, 201);
    EXPECT_EQ(host.saves, std::vector<bool>{false}) << "the trays are written, the options are not";
    EXPECT_EQ(applied, std::vector<int32_t>{ProgramTray});
    EXPECT_EQ(dialog->Handle(), nullptr);
}

TEST_F(IconSettingDialogWin, FromTheRegistrationDialogOkChangesOnlyTheLiveList) {
    ASSERT_TRUE(Open(0, false));
    SendMessageW(Control(IDC_SHIFTCHECK), BM_CLICK, 0, 0);
    SendMessageW(Control(IDC_DIRECTEDIT), WM_CHAR, u'a', 0);
    PressOk();
    EXPECT_EQ(host.trays[ProgramTray].Items[0].Status >> 8, u'a') << "Shift+A is kept as the small letter";
    EXPECT_TRUE(host.saves.empty());
}

TEST_F(IconSettingDialogWin, RefusalsLeaveTheItemAsItWas) {
    ASSERT_TRUE(Open(0, true));
    SetItemText(dialog->Handle(), IDC_TITLEEDIT, u"   ");
    PressOk();
    ASSERT_EQ(host.messages.size(), 1u) << "a blank title is refused";
    ASSERT_NE(dialog->Handle(), nullptr);
    SetItemText(dialog->Handle(), IDC_TITLEEDIT, u"Alpha");
    host.trays[ProgramTray].Items.erase(host.trays[ProgramTray].Items.begin()); // the item went meanwhile
    PressOk();
    EXPECT_EQ(host.messages.size(), 2u) << "the item is gone: nothing else is edited";
    EXPECT_EQ(Titles(host.trays[ProgramTray].Items), (Names{u"Bravo"}));
    EXPECT_EQ(host.trays[ProgramTray].Items[0].Status, 0);
    EXPECT_TRUE(host.saves.empty());
}

} // namespace
} // namespace vantrel::win
