// The accessibility objects of a self-drawn grid window, read the way a screen reader reads them (through
// oleacc, from the window's WM_GETOBJECT answer), over a grid whose cells the test sets up.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win/accessible_grid_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Two lists: "Left" with cells a, b, c in a row, "Right" with one cell d below them.
class FakeGrid : public AccessibleGrid {
public:
    int32_t ListCount() const override { return 2; }
    std::u16string ListName(int32_t list) const override { return list == 0 ? u"Left" : u"Right"; }
    BoxBounds ListBounds(int32_t list) const override {
        return list == 0 ? BoxBounds{10, 10, 120, 40} : BoxBounds{10, 60, 40, 40};
    }
    int32_t CellCount(int32_t list) const override { return list == 0 ? 3 : 1; }
    AccessibleCell Cell(int32_t list, int32_t index) const override {
        AccessibleCell cell;
        cell.name = list == 0 ? std::u16string(1, static_cast<char16_t>(u'a' + index)) : u"d";
        cell.position = PositionInList(index, CellCount(list));
        cell.shortcut = list == 0 && index == 1 ? u"Shift+B" : u"";
        cell.defaultAction = list == 1 ? u"" : u"Run";
        cell.bounds = list == 0 ? BoxBounds{10 + 40 * index, 10, 39, 39} : BoxBounds{10, 60, 39, 39};
        cell.focused = focus && *focus == CellAddress{list, index};
        return cell;
    }
    std::optional<CellAddress> Focus() const override { return focus; }
    bool SelectCell(CellAddress cell) override {
        selected.push_back(cell);
        focus = cell;
        return true;
    }
    bool RunCell(CellAddress cell) override {
        run.push_back(cell);
        return true;
    }

    std::optional<CellAddress> focus = CellAddress{0, 1};
    std::vector<CellAddress> selected;
    std::vector<CellAddress> run;
};

class GridWindow : public Window {
public:
    explicit GridWindow(AccessibleGrid& grid) : host(grid) {
        Create(L"VanTestGridWindow", L"Grids", WS_POPUP, WS_EX_TOOLWINDOW, 200, 150, 200, 120, nullptr);
        host.Attach(Handle());
    }
    ~GridWindow() override { host.Detach(); }
    AccessibleGridHost host;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GETOBJECT)
            if (const auto answer = host.AnswerGetObject(wParam, lParam))
                return *answer;
        return DefaultProc(message, wParam, lParam);
    }
};

VARIANT Id(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Text(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
    SysFreeString(text);
    return out;
}

// One accessible object with the questions the tests ask of it.
struct Object {
    explicit Object(IAccessible* object = nullptr) : p(object) {}
    Object(Object&& o) noexcept : p(o.p) { o.p = nullptr; }
    ~Object() {
        if (p)
            p->Release();
    }
    std::wstring Name(LONG id = CHILDID_SELF) const {
        BSTR text = nullptr;
        p->get_accName(Id(id), &text);
        return Text(text);
    }
    std::wstring Description(LONG id) const {
        BSTR text = nullptr;
        p->get_accDescription(Id(id), &text);
        return Text(text);
    }
    std::wstring Shortcut(LONG id) const {
        BSTR text = nullptr;
        p->get_accKeyboardShortcut(Id(id), &text);
        return Text(text);
    }
    LONG Role(LONG id = CHILDID_SELF) const {
        VARIANT v;
        VariantInit(&v);
        p->get_accRole(Id(id), &v);
        return v.vt == VT_I4 ? v.lVal : -1;
    }
    LONG State(LONG id = CHILDID_SELF) const {
        VARIANT v;
        VariantInit(&v);
        p->get_accState(Id(id), &v);
        return v.vt == VT_I4 ? v.lVal : -1;
    }
    long Count() const {
        long count = -1;
        p->get_accChildCount(&count);
        return count;
    }
    Object Child(LONG id, HRESULT* hr = nullptr) const {
        IDispatch* dispatch = nullptr;
        const HRESULT result = p->get_accChild(Id(id), &dispatch);
        if (hr)
            *hr = result;
        return FromDispatch(dispatch);
    }
    static Object FromDispatch(IDispatch* dispatch) {
        IAccessible* object = nullptr;
        if (dispatch) {
            dispatch->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&object));
            dispatch->Release();
        }
        return Object(object);
    }
    IAccessible* p;
};

Object ClientOf(HWND window) {
    IAccessible* client = nullptr;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                               reinterpret_cast<void**>(&client));
    return Object(client);
}

class AccessibleGridWin : public ::testing::Test {
protected:
    AccessibleGridWin() { ShowWindow(window.Handle(), SW_SHOWNOACTIVATE); }
    FakeGrid grid;
    GridWindow window{grid};
};

TEST_F(AccessibleGridWin, TheClientHoldsTheListsAndTheListsTheCells) {
    const Object client = ClientOf(window.Handle());
    ASSERT_TRUE(client.p) << "the window answers WM_GETOBJECT";
    EXPECT_EQ(client.Name(), L"Grids") << "the client object is named by the window's caption";
    EXPECT_EQ(client.Role(), ROLE_SYSTEM_CLIENT);
    ASSERT_EQ(client.Count(), 2);

    const Object left = client.Child(1);
    ASSERT_TRUE(left.p);
    EXPECT_EQ(left.Name(), L"Left");
    EXPECT_EQ(left.Role(), ROLE_SYSTEM_LIST);
    ASSERT_EQ(left.Count(), 3);
    EXPECT_EQ(left.Name(2), L"b");
    EXPECT_EQ(left.Role(2), ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(left.Description(2), L"2 of 3");
    EXPECT_EQ(left.Shortcut(2), L"Shift+B");
    EXPECT_EQ(left.Shortcut(1), L"<none>");
    EXPECT_EQ(left.State(2) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED),
              STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED);
    EXPECT_EQ(left.State(1) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED), 0);
    EXPECT_TRUE(left.State(1) & STATE_SYSTEM_SELECTABLE);
    EXPECT_EQ(client.Child(2).Name(), L"Right");

    HRESULT hr = S_OK;
    EXPECT_FALSE(left.Child(1, &hr).p);
    EXPECT_EQ(hr, S_FALSE) << "cells are simple elements";
    client.Child(3, &hr);
    EXPECT_EQ(hr, E_INVALIDARG) << "one past the last list";
    left.Child(4, &hr);
    EXPECT_EQ(hr, E_INVALIDARG) << "one past the last cell";
    BSTR name = nullptr;
    EXPECT_EQ(left.p->get_accName(Id(0x7FFFFFFF), &name), E_INVALIDARG);
}

TEST_F(AccessibleGridWin, TheClientKnowsEveryCellByTheNumberItsEventsUse) {
    const Object client = ClientOf(window.Handle());
    const LONG b = AccessibleGridHost::CellId({0, 1});
    const LONG d = AccessibleGridHost::CellId({1, 0});
    EXPECT_GT(b, 2) << "no cell number is a list number";
    EXPECT_EQ(client.Name(b), L"b");
    EXPECT_EQ(client.Description(d), L"1 of 1");
    EXPECT_EQ(client.Role(d), ROLE_SYSTEM_LISTITEM);
    HRESULT hr = S_OK;
    client.Child(b, &hr);
    EXPECT_EQ(hr, S_FALSE);
    EXPECT_EQ(client.Name(AccessibleGridHost::CellId({0, 3})), L"<none>") << "one past the last cell";
    EXPECT_EQ(client.Name(AccessibleGridHost::CellId({2, 0})), L"<none>") << "one past the last list";

    EXPECT_EQ(AccessibleGridHost::CellOfId(b), (CellAddress{0, 1}));
    EXPECT_EQ(AccessibleGridHost::CellOfId(AccessibleGridHost::CellId({7, 0xFFFD})), (CellAddress{7, 0xFFFD}));
    EXPECT_EQ(AccessibleGridHost::CellId({0, 0xFFFE}), CHILDID_SELF) << "beyond the numbers a list has";
    EXPECT_EQ(AccessibleGridHost::CellOfId(1), std::nullopt) << "a list's number";
    EXPECT_EQ(AccessibleGridHost::CellOfId(0), std::nullopt);
    EXPECT_EQ(AccessibleGridHost::CellOfId(-5), std::nullopt);
}

TEST_F(AccessibleGridWin, FocusLocationHitTestAndNavigation) {
    const Object client = ClientOf(window.Handle());
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(client.p->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH) << "the list that holds the focused cell";
    const Object list = Object::FromDispatch(focus.pdispVal);
    EXPECT_EQ(list.Name(), L"Left");
    VariantInit(&focus);
    ASSERT_EQ(list.p->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 2);
    VariantInit(&focus);
    EXPECT_EQ(client.Child(2).p->get_accFocus(&focus), S_FALSE) << "the other list holds none";

    POINT origin{0, 0};
    ClientToScreen(window.Handle(), &origin);
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(list.p->accLocation(&x, &y, &w, &h, Id(3)), S_OK);
    EXPECT_EQ(x, origin.x + 90);
    EXPECT_EQ(y, origin.y + 10);
    EXPECT_EQ(w, 39);
    EXPECT_EQ(h, 39);

    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(list.p->accHitTest(origin.x + 95, origin.y + 20, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 3);
    VariantInit(&hit);
    ASSERT_EQ(client.p->accHitTest(origin.x + 20, origin.y + 70, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    EXPECT_EQ(Object::FromDispatch(hit.pdispVal).Name(), L"Right");
    VariantInit(&hit);
    EXPECT_EQ(client.p->accHitTest(origin.x - 5, origin.y, &hit), S_FALSE) << "outside the window";

    VARIANT next;
    VariantInit(&next);
    ASSERT_EQ(list.p->accNavigate(NAVDIR_NEXT, Id(2), &next), S_OK);
    EXPECT_EQ(next.lVal, 3);
    VariantInit(&next);
    EXPECT_EQ(list.p->accNavigate(NAVDIR_NEXT, Id(3), &next), S_FALSE) << "past the last cell";
    VariantInit(&next);
    ASSERT_EQ(list.p->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &next), S_OK);
    EXPECT_EQ(next.lVal, 3);
    VariantInit(&next);
    ASSERT_EQ(client.p->accNavigate(NAVDIR_FIRSTCHILD, Id(CHILDID_SELF), &next), S_OK);
    ASSERT_EQ(next.vt, VT_DISPATCH);
    EXPECT_EQ(Object::FromDispatch(next.pdispVal).Name(), L"Left");
}

TEST_F(AccessibleGridWin, SelectingAndTheDefaultActionGoToTheGrid) {
    const Object client = ClientOf(window.Handle());
    const Object left = client.Child(1);
    EXPECT_EQ(left.p->accSelect(SELFLAG_TAKEFOCUS, Id(3)), S_OK);
    EXPECT_EQ(left.p->accSelect(SELFLAG_ADDSELECTION, Id(1)), DISP_E_MEMBERNOTFOUND)
        << "one cursor, no multiple choice";
    EXPECT_EQ(left.p->accDoDefaultAction(Id(1)), S_OK);
    const Object right = client.Child(2);
    EXPECT_EQ(right.p->accDoDefaultAction(Id(1)), DISP_E_MEMBERNOTFOUND) << "a cell without an action";
    EXPECT_EQ(right.p->accDoDefaultAction(Id(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    ASSERT_EQ(grid.selected.size(), 1u);
    EXPECT_EQ(grid.selected[0], (CellAddress{0, 2}));
    ASSERT_EQ(grid.run.size(), 1u);
    EXPECT_EQ(grid.run[0], (CellAddress{0, 0}));
    BSTR action = nullptr;
    ASSERT_EQ(left.p->get_accDefaultAction(Id(1), &action), S_OK);
    EXPECT_EQ(Text(action), L"Run");
}

TEST_F(AccessibleGridWin, ObjectsHeldAfterTheWindowWentAreDisconnected) {
    Object client = ClientOf(window.Handle());
    Object left = client.Child(1);
    window.host.Detach();
    long count = 0;
    EXPECT_EQ(client.p->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(left.p->get_accName(Id(1), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(left.p->accDoDefaultAction(Id(1)), RPC_E_DISCONNECTED);
    EXPECT_TRUE(grid.run.empty());
    // The window answers with the system's own client object again, which knows nothing of the grid.
    const Object fresh = ClientOf(window.Handle());
    if (fresh.p) {
        EXPECT_EQ(fresh.Count(), 0);
    }
}

// Focus events as an out-of-context listener of this process receives them.
std::vector<LONG> received;
void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (event == EVENT_OBJECT_FOCUS && object == OBJID_CLIENT)
        received.push_back(child);
}

std::vector<LONG> FocusEventsOf(const std::function<void()>& act) {
    received.clear();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &Record, 0, 0, WINEVENT_OUTOFCONTEXT);
    act();
    const DWORD end = GetTickCount() + 300;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(5);
    }
    UnhookWinEvent(hook);
    return received;
}

TEST_F(AccessibleGridWin, TheCursorCellIsAnnouncedOncePerMove) {
    const LONG b = AccessibleGridHost::CellId({0, 1});
    const LONG d = AccessibleGridHost::CellId({1, 0});
    EXPECT_EQ(FocusEventsOf([&] { window.host.AnnounceFocus(true); }), std::vector<LONG>{b});
    EXPECT_EQ(FocusEventsOf([&] { window.host.AnnounceFocus(false); }), std::vector<LONG>{}) << "it has not moved";
    EXPECT_EQ(FocusEventsOf([&] {
                  grid.focus = CellAddress{1, 0};
                  window.host.AnnounceFocus(false);
                  window.host.AnnounceFocus(false);
              }),
              std::vector<LONG>{d});
    EXPECT_EQ(FocusEventsOf([&] { window.host.AnnounceFocus(true); }), std::vector<LONG>{d}) << "a show repeats it";
    EXPECT_EQ(FocusEventsOf([&] {
                  grid.focus.reset();
                  window.host.AnnounceFocus(true);
                  grid.focus = CellAddress{1, 0};
                  window.host.AnnounceFocus(false);
              }),
              std::vector<LONG>{d})
        << "after a time without focus the same cell is news again";
}

} // namespace
} // namespace vantrel::win
