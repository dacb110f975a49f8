#include "win/accessible_grid_win.h"

#include <ole2.h>
#include <oleacc.h>

#include <string>

namespace vantrel::win {

namespace {

// MinGW's import library carries a value of IID_IAccessible that the system does not recognise.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kIidOleWindow = {0x00000114, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr int32_t kRoot = -1;
// A cell's number at the client object: its list in the high word, its place in the low word, both from 1, so
// that no cell number is a list number (1..lists).
constexpr LONG kMaxCellsPerList = 0xFFFE;

BSTR MakeBstr(const std::u16string& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

// What a child number designates, seen from one object.
struct Target {
    enum Kind { Invalid, Self, List, Cell } kind = Invalid;
    int32_t list = 0;
    int32_t index = 0;
};

class GridAccessible final : public IAccessible, public IOleWindow {
public:
    GridAccessible(std::shared_ptr<AccessibleLink> link, int32_t list) : link_(std::move(link)), list_(list) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (IsEqualIID(iid, kIidOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the tree is read through IAccessible's own methods; there is no type information to offer.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = link_->window;
        return link_->window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        if (value)
            *value = nullptr;
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help)
            *help = nullptr;
        return Connected() ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~GridAccessible() = default;

    bool Connected() const { return link_->grid != nullptr && link_->window != nullptr; }
    AccessibleGrid& Grid() const { return *link_->grid; }
    bool ValidList(int32_t list) const { return list >= 0 && list < Grid().ListCount(); }
    bool ValidCell(int32_t list, int32_t index) const {
        return ValidList(list) && index >= 0 && index < Grid().CellCount(list);
    }

    Target Resolve(const VARIANT& child) const {
        if (child.vt != VT_I4)
            return {};
        const LONG id = child.lVal;
        if (id == CHILDID_SELF)
            return list_ == kRoot ? Target{Target::Self, kRoot, 0} : Target{Target::Self, list_, 0};
        if (list_ != kRoot)
            return ValidCell(list_, id - 1) ? Target{Target::Cell, list_, id - 1} : Target{};
        if (ValidList(id - 1))
            return {Target::List, id - 1, 0};
        if (const auto cell = AccessibleGridHost::CellOfId(id); cell && ValidCell(cell->list, cell->index))
            return {Target::Cell, cell->list, cell->index};
        return {};
    }
    // The child number of a cell as this object knows it.
    LONG ChildIdOf(CellAddress cell) const {
        return list_ == kRoot ? AccessibleGridHost::CellId(cell) : static_cast<LONG>(cell.index + 1);
    }
    IDispatch* NewList(int32_t list) const { return new GridAccessible(link_, list); }
    bool WindowShown() const { return IsWindowVisible(link_->window) != FALSE; }
    POINT ClientOrigin() const {
        POINT origin{0, 0};
        ClientToScreen(link_->window, &origin);
        return origin;
    }

    LONG references_ = 1;
    std::shared_ptr<AccessibleLink> link_;
    int32_t list_; // kRoot: the client object
};

HRESULT GridAccessible::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    if (list_ != kRoot) {
        if (!link_->root)
            return RPC_E_DISCONNECTED;
        link_->root->AddRef();
        *parent = link_->root;
        return S_OK;
    }
    // The client object's parent is the window's own object, which the system provides.
    return CreateStdAccessibleObject(link_->window, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
}

HRESULT GridAccessible::get_accChildCount(long* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    *count = list_ == kRoot ? Grid().ListCount() : Grid().CellCount(list_);
    return S_OK;
}

HRESULT GridAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    switch (target.kind) {
    case Target::List:
        *out = NewList(target.list);
        return S_OK;
    case Target::Cell:
        return S_FALSE; // a simple element: its parent answers for it
    default:
        return E_INVALIDARG;
    }
}

HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name)
        return E_POINTER;
    *name = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    switch (target.kind) {
    case Target::Self:
        if (list_ == kRoot) {
            wchar_t caption[256] = {};
            const int length = GetWindowTextW(link_->window, caption, 256);
            *name = SysAllocStringLen(caption, static_cast<UINT>(length));
            return S_OK;
        }
        *name = MakeBstr(Grid().ListName(list_));
        return S_OK;
    case Target::List:
        *name = MakeBstr(Grid().ListName(target.list));
        return S_OK;
    case Target::Cell:
        *name = MakeBstr(Grid().Cell(target.list, target.index).name);
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

HRESULT GridAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (!description)
        return E_POINTER;
    *description = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    if (target.kind != Target::Cell)
        return S_FALSE;
    *description = MakeBstr(Grid().Cell(target.list, target.index).position);
    return S_OK;
}

HRESULT GridAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role)
        return E_POINTER;
    VariantInit(role);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    role->vt = VT_I4;
    if (target.kind == Target::Cell)
        role->lVal = ROLE_SYSTEM_LISTITEM;
    else if (target.kind == Target::List || list_ != kRoot)
        role->lVal = ROLE_SYSTEM_LIST;
    else
        role->lVal = ROLE_SYSTEM_CLIENT;
    return S_OK;
}

HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state)
        return E_POINTER;
    VariantInit(state);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    LONG flags = WindowShown() ? 0 : STATE_SYSTEM_INVISIBLE;
    const auto focus = Grid().Focus();
    if (target.kind == Target::Cell) {
        flags |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        if (focus && *focus == CellAddress{target.list, target.index})
            flags |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
    } else if (target.kind == Target::Self && list_ == kRoot) {
        flags |= STATE_SYSTEM_FOCUSABLE;
        if (!focus && GetFocus() == link_->window)
            flags |= STATE_SYSTEM_FOCUSED;
    }
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
}

HRESULT GridAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut)
        return E_POINTER;
    *shortcut = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    if (target.kind != Target::Cell)
        return S_FALSE;
    const std::u16string text = Grid().Cell(target.list, target.index).shortcut;
    if (text.empty())
        return S_FALSE;
    *shortcut = MakeBstr(text);
    return S_OK;
}

HRESULT GridAccessible::get_accFocus(VARIANT* focus) {
    if (!focus)
        return E_POINTER;
    VariantInit(focus);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const auto cell = Grid().Focus();
    if (list_ == kRoot) {
        if (cell && ValidCell(cell->list, cell->index)) {
            // The focused cell lies in one of the lists, which is the child object that holds the focus.
            focus->vt = VT_DISPATCH;
            focus->pdispVal = NewList(cell->list);
        } else if (GetFocus() == link_->window) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    if (!cell || cell->list != list_ || !ValidCell(cell->list, cell->index))
        return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = ChildIdOf(*cell);
    return S_OK;
}

HRESULT GridAccessible::get_accSelection(VARIANT* selection) {
    if (!selection)
        return E_POINTER;
    VariantInit(selection);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const auto cell = Grid().Focus();
    if (list_ == kRoot || !cell || cell->list != list_ || !ValidCell(cell->list, cell->index))
        return S_FALSE;
    selection->vt = VT_I4;
    selection->lVal = ChildIdOf(*cell);
    return S_OK;
}

HRESULT GridAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action)
        return E_POINTER;
    *action = nullptr;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    if (target.kind != Target::Cell)
        return S_FALSE;
    const std::u16string text = Grid().Cell(target.list, target.index).defaultAction;
    if (text.empty())
        return S_FALSE;
    *action = MakeBstr(text);
    return S_OK;
}

HRESULT GridAccessible::accSelect(long flags, VARIANT child) {
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    // One cursor: taking the focus and taking the selection are the same move; adding to or removing from a
    // selection has no meaning here.
    if (target.kind != Target::Cell || (flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) != 0 ||
        (flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) == 0)
        return DISP_E_MEMBERNOTFOUND;
    return Grid().SelectCell({target.list, target.index}) ? S_OK : S_FALSE;
}

HRESULT GridAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    BoxBounds box;
    switch (target.kind) {
    case Target::Self:
        if (list_ == kRoot) {
            RECT client{};
            GetClientRect(link_->window, &client);
            box = {0, 0, client.right, client.bottom};
        } else {
            box = Grid().ListBounds(list_);
        }
        break;
    case Target::List:
        box = Grid().ListBounds(target.list);
        break;
    case Target::Cell:
        box = Grid().Cell(target.list, target.index).bounds;
        break;
    default:
        return E_INVALIDARG;
    }
    const POINT origin = ClientOrigin();
    *left = origin.x + box.left;
    *top = origin.y + box.top;
    *width = box.width;
    *height = box.height;
    return S_OK;
}

HRESULT GridAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end)
        return E_POINTER;
    VariantInit(end);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target from = Resolve(start);
    if (from.kind == Target::Invalid)
        return E_INVALIDARG;
    const auto setList = [&](int32_t list) {
        if (!ValidList(list))
            return S_FALSE;
        end->vt = VT_DISPATCH;
        end->pdispVal = NewList(list);
        return S_OK;
    };
    const auto setCell = [&](int32_t list, int32_t index) {
        if (!ValidCell(list, index))
            return S_FALSE;
        end->vt = VT_I4;
        end->lVal = ChildIdOf({list, index});
        return S_OK;
    };
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD: {
        if (from.kind != Target::Self)
            return E_INVALIDARG;
        const bool first = direction == NAVDIR_FIRSTCHILD;
        if (list_ == kRoot)
            return setList(first ? 0 : Grid().ListCount() - 1);
        return setCell(list_, first ? 0 : Grid().CellCount(list_) - 1);
    }
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS: {
        const int32_t step = direction == NAVDIR_NEXT ? 1 : -1;
        if (from.kind == Target::List)
            return setList(from.list + step);
        if (from.kind == Target::Cell)
            return setCell(from.list, from.index + step);
        return S_FALSE; // the siblings of this object are its parent's to tell
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT GridAccessible::accHitTest(long x, long y, VARIANT* hit) {
    if (!hit)
        return E_POINTER;
    VariantInit(hit);
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const POINT origin = ClientOrigin();
    const int32_t cx = x - origin.x;
    const int32_t cy = y - origin.y;
    const auto inside = [&](const BoxBounds& b) {
        return cx >= b.left && cx < b.left + b.width && cy >= b.top && cy < b.top + b.height;
    };
    if (list_ == kRoot) {
        RECT client{};
        GetClientRect(link_->window, &client);
        if (!inside({0, 0, client.right, client.bottom}))
            return S_FALSE;
        for (int32_t list = 0; list < Grid().ListCount(); ++list)
            if (inside(Grid().ListBounds(list))) {
                hit->vt = VT_DISPATCH;
                hit->pdispVal = NewList(list);
                return S_OK;
            }
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    if (!inside(Grid().ListBounds(list_)))
        return S_FALSE;
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    for (int32_t index = 0; index < Grid().CellCount(list_); ++index)
        if (inside(Grid().Cell(list_, index).bounds)) {
            hit->lVal = index + 1;
            break;
        }
    return S_OK;
}

HRESULT GridAccessible::accDoDefaultAction(VARIANT child) {
    if (!Connected())
        return RPC_E_DISCONNECTED;
    const Target target = Resolve(child);
    if (target.kind == Target::Invalid)
        return E_INVALIDARG;
    if (target.kind != Target::Cell || Grid().Cell(target.list, target.index).defaultAction.empty())
        return DISP_E_MEMBERNOTFOUND;
    return Grid().RunCell({target.list, target.index}) ? S_OK : E_FAIL;
}

} // namespace

AccessibleGridHost::AccessibleGridHost(AccessibleGrid& grid) : link_(std::make_shared<AccessibleLink>()) {
    link_->grid = &grid;
    // Handing objects to other processes needs COM on this thread. The program's entry has it already (then this
    // only counts one more use); a test or a benchmark that creates the window directly may not.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialised_ = SUCCEEDED(com);
}

AccessibleGridHost::~AccessibleGridHost() {
    Detach();
    link_->grid = nullptr;
    if (comInitialised_)
        CoUninitialize();
}

void AccessibleGridHost::Attach(HWND window) {
    link_->window = window;
    if (!link_->root)
        link_->root = new GridAccessible(link_, kRoot);
}

void AccessibleGridHost::Detach() {
    if (IAccessible* root = link_->root) {
        link_->root = nullptr;
        link_->window = nullptr;
        // Proxies in other processes get an error from now on instead of waiting for a window that is gone.
        CoDisconnectObject(root, 0);
        root->Release();
    }
    link_->window = nullptr;
    announced_.reset();
}

std::optional<LRESULT> AccessibleGridHost::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
    if (!link_->root || static_cast<LONG>(lParam) != OBJID_CLIENT)
        return std::nullopt;
    return LresultFromObject(kIidAccessible, wParam, link_->root);
}

std::optional<LRESULT> AccessibleGridHost::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT)
        return AnswerGetObject(wParam, lParam);
    if (message == WM_DESTROY)
        Detach();
    return std::nullopt;
}

void AccessibleGridHost::AnnounceFocus(bool force) {
    if (!link_->window || !link_->grid)
        return;
    const auto focus = link_->grid->Focus();
    if (!focus) {
        announced_.reset();
        return;
    }
    if (!force && announced_ == focus)
        return;
    announced_ = focus;
    const LONG id = CellId(*focus);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, link_->window, OBJID_CLIENT, id);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, link_->window, OBJID_CLIENT, id);
}

void AccessibleGridHost::AnnounceReorder() {
    if (link_->window)
        NotifyWinEvent(EVENT_OBJECT_REORDER, link_->window, OBJID_CLIENT, CHILDID_SELF);
}

LONG AccessibleGridHost::CellId(CellAddress cell) {
    if (cell.list < 0 || cell.list >= 0x7FFE || cell.index < 0 || cell.index >= kMaxCellsPerList)
        return CHILDID_SELF;
    return static_cast<LONG>(((cell.list + 1) << 16) | (cell.index + 1));
}

std::optional<CellAddress> AccessibleGridHost::CellOfId(LONG childId) {
    const LONG list = (childId >> 16) - 1;
    const LONG index = (childId & 0xFFFF) - 1;
    if (childId <= 0 || list < 0 || index < 0)
        return std::nullopt;
    return CellAddress{static_cast<int32_t>(list), static_cast<int32_t>(index)};
}

} // namespace vantrel::win
