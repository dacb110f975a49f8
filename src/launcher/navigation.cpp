#include "launcher/navigation.h"

#include <algorithm>
#include <limits>

#include "grid/cell_paint.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/os_text.h"

namespace vantrel {

namespace {

// Shift, Ctrl, Alt and the Windows keys arrive as key-downs of their own. They are not keystrokes of the
// launcher: a Ctrl pressed again between Ctrl+Q and its second key must not use the quick prefix up.
bool IsModifierKey(int32_t key) {
    return key == vk::kShift || key == vk::kControl || key == vk::kMenu || key == vk::kLeftWin ||
           key == vk::kRightWin || (key >= vk::kLeftShift && key <= vk::kRightMenu);
}

bool IsFunctionKey(int32_t key) {
    return key >= vk::kF1 && key <= vk::kF12;
}

// Virtual keys of letters are the capitals; 'a'..'z' as key codes are the numeric keypad and F1..F11.
bool IsLetterOrDigitKey(int32_t key) {
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

constexpr int32_t kFunctionKeyCode = 0x50; // F1..F12 are stored as 0xC0..0xCB
constexpr int32_t kShiftCode = 0x20;       // Shift turns 'A' into 'a' and 0xC0 into 0xE0

NavAction AllTasksAction(bool close) {
    NavAction action;
    action.kind = NavActionKind::AllTasks;
    action.close = close;
    return action;
}

NavAction CellAction(NavActionKind kind, int32_t tray, int32_t index) {
    NavAction action;
    action.kind = kind;
    action.tray = tray;
    action.index = index;
    return action;
}

NavAction RunAction(int32_t tray, int32_t index, bool runas) {
    NavAction action = CellAction(NavActionKind::RunItem, tray, index);
    action.runas = runas;
    return action;
}

int32_t Wrap(int32_t tray) {
    return (tray % 3 + 3) % 3;
}

// Carries one handler: the state it changes and the result it builds.
class Step {
public:
    explicit Step(Navigation& n) : n_(n) {}

    NavResult Finish();

    void KeyDown(int32_t key, bool shift, bool ctrl, bool alt);
    void MouseMove(int32_t tray, int32_t x, int32_t y, ScreenPoint mouse);
    void TrayMouseDown(int32_t tray, int32_t x, int32_t y, MouseButton button, bool shift, bool ctrl, bool alt);

private:
    int32_t Mode() const { return std::clamp(n_.window.NowMode, 0, 2); }
    int32_t Columns() const { return std::max(n_.window.Layout.columns, 1); }
    TrayEntry& Tray(int32_t t) { return n_.trays[static_cast<std::size_t>(t)]; }
    int32_t& Index(int32_t t) { return Tray(t).NowIndex; }
    int32_t Count(int32_t t) {
        return static_cast<int32_t>(std::min<std::size_t>(Tray(t).Items.size(), std::numeric_limits<int32_t>::max()));
    }
    int32_t Shown(int32_t t) { return ShownCount(Tray(t)); }
    int32_t Column() const { return std::clamp(n_.window.NowColum, 0, Columns() - 1); }
    bool MouseDisabled() const { return n_.option.KeyOnlyFlag && n_.showStatus == 1; }

    void Draw(int32_t tray, int32_t index, int32_t state);
    void Act(NavAction action) { result_.action = action; }
    void ActOnCell(NavAction action);
    void ShowName(int32_t tray, int32_t index);
    void MoveTo(int32_t tray, int32_t index);

    int32_t ChangeTray(int32_t t, int32_t dir, int32_t quick);
    void CursorUp();
    void CursorDown();
    void CursorLeft();
    void CursorRight();
    void RowStart();
    void RowEnd();
    void DirectKeyJump(int32_t key, bool shift, bool alt);

    Navigation& n_;
    NavResult result_;
};

void Step::Draw(int32_t tray, int32_t index, int32_t state) {
    if (IsShownCell(n_.trays, tray, index))
        result_.draws.push_back({tray, index, state});
}

void Step::ShowName(int32_t tray, int32_t index) {
    result_.name =
        IsShownCell(n_.trays, tray, index) ? Tray(tray).Items[static_cast<std::size_t>(index)].Title : std::u16string();
}

// Actions on an item only for a cell that shows one: an index of -1 or a hidden item runs nothing.
void Step::ActOnCell(NavAction action) {
    if (IsShownCell(n_.trays, action.tray, action.index))
        Act(action);
}

NavResult Step::Finish() {
    // Each cell once, in its final state; normal cells before cursor cells.
    std::vector<CellDraw> last;
    for (const CellDraw& d : result_.draws) {
        const auto same = [&](const CellDraw& e) { return e.tray == d.tray && e.index == d.index; };
        last.erase(std::remove_if(last.begin(), last.end(), same), last.end());
        last.push_back(d);
    }
    std::stable_partition(last.begin(), last.end(), [](const CellDraw& d) { return d.state == kCellNormal; });
    result_.draws = std::move(last);
    return std::move(result_);
}

int32_t Step::ChangeTray(int32_t t, int32_t dir, int32_t quick) {
    int32_t s = Wrap(t + dir);
    // In a ring of three, two steps one way are one step the other way.
    if (Count(s) == 0 || quick > 0)
        s = Wrap(s + dir);
    if (Count(s) == 0)
        return t;
    Draw(t, Index(t), kCellNormal);
    const int32_t m = Shown(s);
    const int32_t lastRow = RoundDownTo(m - 1, Columns());
    const int32_t base = (quick == 0 && dir == +1) || (quick > 0 && dir == -1) ? 0 : lastRow;
    const int64_t wanted = int64_t{base} + Column();
    // A tray whose items are all "not used" shows none: the cursor there is -1.
    const int32_t landing = wanted < m ? static_cast<int32_t>(wanted) : m - 1;
    Index(s) = landing;
    Tray(s).LastIndex = landing;
    Draw(s, landing, kCellCursor);
    return s;
}

void Step::CursorUp() {
    const int32_t t = Mode();
    const int32_t c = Columns();
    if (Index(t) >= c)
        Index(t) = RoundDownTo(Index(t) - c, c) + Column();
    else
        n_.window.NowMode = ChangeTray(t, -1, 0);
}

void Step::CursorDown() {
    const int32_t t = Mode();
    const int32_t c = Columns();
    const int32_t n = Shown(t);
    const int32_t i = Index(t);
    if (int64_t{i} + c < n)
        Index(t) = i + c;
    else if (NextMultiple(i, c) >= n)
        n_.window.NowMode = ChangeTray(t, +1, 0);
    else
        Index(t) = n - 1; // the row below is shorter
}

// Sideways moves stay inside the shown cells; in a tray that shows nothing there is nowhere to go.
void Step::CursorLeft() {
    const int32_t t = Mode();
    const int32_t n = Shown(t);
    const int32_t i = Index(t);
    if (n == 0 || i < 0)
        return;
    if (i != RoundDownTo(i, Columns()))
        Index(t) = i - 1;
    else
        RowEnd();
}

void Step::CursorRight() {
    const int32_t t = Mode();
    const int32_t n = Shown(t);
    const int32_t i = Index(t);
    if (n == 0 || i < 0)
        return;
    if (i != NextMultipleLess1(i, Columns()) && i != n - 1)
        Index(t) = i + 1;
    else
        RowStart();
}

void Step::RowStart() {
    const int32_t t = Mode();
    if (Shown(t) > 0 && Index(t) >= 0)
        Index(t) = RoundDownTo(Index(t), Columns());
}

void Step::RowEnd() {
    const int32_t t = Mode();
    const int32_t n = Shown(t);
    if (n == 0 || Index(t) < 0)
        return;
    const int32_t end = NextMultipleLess1(Index(t), Columns());
    Index(t) = end < n ? end : n - 1;
}

void Step::DirectKeyJump(int32_t key, bool shift, bool alt) {
    const bool runas = alt && !n_.option.AltDisableFlag;
    const auto c = static_cast<char16_t>(key);

    // Without number direct keys, 1..9 and 0 are the first ten task windows.
    if (IsDigitChar(c) && !n_.option.KeyNumberFlag) {
        const int32_t j = c == u'0' ? 9 : key - '1';
        if (j >= Count(TaskTray))
            return;
        Draw(Mode(), Index(Mode()), kCellNormal);
        Draw(TaskTray, j, kCellCursor);
        Act(RunAction(TaskTray, j, runas));
        return;
    }

    int32_t code = IsFunctionKey(key) ? key + kFunctionKeyCode : key;
    if (shift)
        code = IsDigitChar(c) ? ShiftedDigitChar(c, n_.usKeyboard) : code + kShiftCode;

    const int64_t total = int64_t{Count(ProgramTray)} + Count(SystemTray);
    if (total == 0)
        return;
    // The walk starts after the cursor (after the System tray's first item when the cursor is on a task),
    // alternates between the Program and System lists, and examines every item once, the start item last:
    // pressing the same key again reaches the next item that carries it.
    int32_t s = Mode() == TaskTray ? SystemTray : Mode();
    int32_t i = Mode() == TaskTray ? 0 : std::max(Index(s), -1);
    const auto other = [](int32_t tray) { return tray == ProgramTray ? SystemTray : ProgramTray; };
    for (int64_t step = 0; step < total; ++step) {
        if (++i >= Count(s)) {
            i = 0;
            s = other(s);
            if (Count(s) == 0)
                s = other(s);
        }
        const RData& item = Tray(s).Items[static_cast<std::size_t>(i)];
        const bool used = !(item.Status & StatusNotUsed) && i < Shown(s);
        if (used && ((item.Status >> 8) & 0xFF) == code) {
            Draw(Mode(), Index(Mode()), kCellNormal);
            Draw(s, i, kCellCursor);
            // Into another tray: a tray change, after which the mouse resting on that tray's old cell must not
            // take the cursor back.
            if (s != Mode())
                Tray(s).LastIndex = i;
            n_.window.NowMode = s;
            Index(s) = i;
            if (!n_.option.DirectMoveOnlyFlag)
                Act(RunAction(s, i, runas));
            return;
        }
    }
}

void Step::KeyDown(int32_t key, bool shift, bool ctrl, bool alt) {
    if (IsModifierKey(key))
        return;
    const int32_t t = Mode();
    n_.window.NowMode = t;
    TrayEntry& tray = Tray(t);
    tray.LastIndex = tray.NowIndex;
    NavigationState& nav = n_.nav;
    const int32_t k = ctrl || nav.QuickCount > 0 ? ControlKeyToKey(key) : key;
    const bool quick = nav.QuickCount > 0;

    switch (k) {
    case vk::kBack:
        if (shift)
            Act(AllTasksAction(true));
        else if (tray.NowIndex >= 1 && t == TaskTray)
            ActOnCell(CellAction(NavActionKind::CloseTask, t, tray.NowIndex - 1));
        break;
    case vk::kReturn:
        ActOnCell(RunAction(t, tray.NowIndex, alt && !n_.option.AltDisableFlag));
        break;
    case vk::kEscape:
        Act({NavActionKind::Hide});
        break;
    case vk::kSpace:
    case vk::kApps:
        if (n_.option.RightClickFlag != 0 && t == TaskTray) {
            if (shift)
                Act(AllTasksAction(ctrl));
            else
                ActOnCell(CellAction(ctrl ? NavActionKind::CloseTask : NavActionKind::IconizeTask, TaskTray,
                                     Index(TaskTray)));
        } else {
            ActOnCell(CellAction(NavActionKind::ShowMenu, t, tray.NowIndex));
        }
        break;
    case vk::kPrior:
    case vk::kNext: {
        const int32_t dir = k == vk::kPrior ? -1 : +1;
        const int32_t m = ChangeTray(t, dir, nav.QuickCount);
        if (m != t)
            n_.window.NowMode = m;
        else if (dir < 0)
            CursorUp();
        else
            CursorDown();
        break;
    }
    case vk::kLeft:
    case vk::kRight:
        if (k == vk::kLeft)
            quick ? RowStart() : CursorLeft();
        else
            quick ? RowEnd() : CursorRight();
        if (tray.NowIndex >= 0)
            n_.window.NowColum = RemainderOf(tray.NowIndex, Columns());
        break;
    case vk::kUp:
        CursorUp();
        break;
    case vk::kDown:
        CursorDown();
        break;
    case vk::kDelete:
        if (shift)
            Act(AllTasksAction(true));
        else if (t == TaskTray)
            ActOnCell(CellAction(NavActionKind::CloseTask, t, tray.NowIndex));
        break;
    case vk::kQuickPrefix:
        if (nav.QuickCount == 0)
            nav.QuickCount = 2;
        break;
    default:
        if (IsLetterOrDigitKey(k) || IsFunctionKey(k))
            DirectKeyJump(k, shift, alt);
        break;
    }

    if (nav.QuickCount > 0)
        --nav.QuickCount;
    if (tray.NowIndex != tray.LastIndex) {
        Draw(t, tray.LastIndex, kCellNormal);
        Draw(t, tray.NowIndex, kCellCursor);
    }
    ShowName(Mode(), Index(Mode()));
}

void Step::MoveTo(int32_t tray, int32_t index) {
    if (tray != Mode() || index != Index(tray)) {
        Draw(Mode(), Index(Mode()), kCellNormal);
        Draw(tray, index, kCellCursor);
    }
    n_.window.NowMode = tray;
    Index(tray) = index;
    Tray(tray).LastIndex = index;
    ShowName(tray, index);
}

void Step::MouseMove(int32_t tray, int32_t x, int32_t y, ScreenPoint mouse) {
    if (tray < 0 || tray > 2 || MouseDisabled())
        return;
    // The system reports a move whenever the windows under a resting mouse change: when this window appears,
    // when one above it goes, when it is resized after a task closed. None of these is the user's: a report at
    // the position of the paint or of the last move taken would put the cursor back under the mouse after the
    // keys had moved it away.
    if (mouse == n_.nav.SPoint || mouse == n_.nav.MousePoint)
        return;
    n_.nav.SPoint = {-1, -1};
    n_.nav.MousePoint = mouse;
    const int32_t i = CellAt(x, y, n_.window.Layout.cell.pitch, Columns());
    if (i >= Shown(tray))
        return;
    // Still on the cell the mouse last put the cursor on, or the one a keystroke started from: the keys keep
    // what they did until the mouse goes to another cell.
    if (tray == Mode() && i == Tray(tray).LastIndex)
        return;
    MoveTo(tray, i);
}

void Step::TrayMouseDown(int32_t tray, int32_t x, int32_t y, MouseButton button, bool shift, bool ctrl, bool alt) {
    if (tray < 0 || tray > 2 || MouseDisabled())
        return;
    const int32_t i = CellAt(x, y, n_.window.Layout.cell.pitch, Columns());
    if (button == MouseButton::Right && shift) {
        Act(AllTasksAction(ctrl));
        return;
    }
    if (i >= Shown(tray))
        return;
    // The pressed cell becomes the cursor even when no move came before the press.
    MoveTo(tray, i);
    switch (button) {
    case MouseButton::Left:
        // A click asks for elevation with Alt whatever AltDisableFlag says: it is a deliberate gesture.
        Act(RunAction(tray, i, alt));
        break;
    case MouseButton::Right:
        if (n_.option.RightClickFlag == 0 || tray != TaskTray) {
            NavAction menu = CellAction(NavActionKind::ShowMenu, tray, i);
            menu.atMouse = true;
            Act(menu);
        } else {
            Act(CellAction(ctrl ? NavActionKind::CloseTask : NavActionKind::IconizeTask, tray, i));
        }
        break;
    case MouseButton::Middle:
        break;
    }
}

} // namespace

void TraysPainted(NavigationState& nav, ScreenPoint mouse, uint32_t tickNow) {
    nav.SPoint = mouse;
    nav.MousePoint = mouse;
    nav.ShowTime = tickNow + kPressGuardMs;
}

int32_t ControlKeyToKey(int32_t key) {
    switch (key) {
    case 'C':
        return vk::kNext;
    case 'D':
        return vk::kRight;
    case 'E':
        return vk::kUp;
    case 'G':
        return vk::kDelete;
    case 'H':
        return vk::kBack;
    case 'J':
        return vk::kEscape;
    case 'M':
        return vk::kReturn;
    case 'Q':
        return vk::kQuickPrefix;
    case 'R':
        return vk::kPrior;
    case 'S':
        return vk::kLeft;
    case 'X':
        return vk::kDown;
    default:
        return key;
    }
}

NavResult OnKeyDown(Navigation& n, int32_t key, bool shift, bool ctrl, bool alt) {
    Step step(n);
    step.KeyDown(key, shift, ctrl, alt);
    return step.Finish();
}

NavResult OnMouseMove(Navigation& n, int32_t tray, int32_t x, int32_t y, ScreenPoint mouse) {
    Step step(n);
    step.MouseMove(tray, x, y, mouse);
    return step.Finish();
}

NavResult OnMouseDown(Navigation& n, int32_t tray, int32_t x, int32_t y, MouseButton button, bool shift, bool ctrl,
                      bool alt, uint32_t tickNow) {
    Step step(n);
    if (tray == TaskTray || tray == SystemTray) {
        // Presses right after the paint are the end of the trigger that showed the window. Compared as a
        // difference so that the tick count's wrap after 49.7 days changes nothing.
        if (static_cast<int32_t>(tickNow - n.nav.ShowTime) <= 0)
            return step.Finish();
    }
    if (tray == TaskTray) {
        if (!n.nav.RightDoubleClickFlag)
            step.TrayMouseDown(tray, x, y, button, shift, ctrl, alt);
        n.nav.RightDoubleClickFlag = false;
    } else {
        step.TrayMouseDown(tray, x, y, button, shift, ctrl, alt);
    }
    return step.Finish();
}

NavResult OnRightButtonDoubleClick(Navigation& n, int32_t x, int32_t y) {
    Step step(n);
    for (int32_t t = 0; t < 3; ++t) {
        const BoxBounds& box = n.window.Layout.trayBox[static_cast<std::size_t>(t)];
        const ScreenRect bounds{box.left, box.top, box.left + box.width, box.top + box.height};
        if (!ContainsWithEdges(bounds, {x, y}))
            continue;
        step.TrayMouseDown(t, x - box.left, y - box.top, MouseButton::Right, false, true, false);
        if (t == TaskTray)
            n.nav.RightDoubleClickFlag = true;
        break;
    }
    return step.Finish();
}

} // namespace vantrel
