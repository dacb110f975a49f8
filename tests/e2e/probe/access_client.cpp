// vanaccess: reads a window's accessibility objects from another process, as a screen reader does, for the
// end-to-end scenarios. Started in the same virtual desktop as the program under test; one question per run,
// answers on stdout (UTF-8, tab-separated, one record a line). Exit code 0 "done", 1 "not found / timed out",
// 2 a usage error.
//
//   tree <class> [ms]            the client object of the first visible window of that class (waiting up to ms;
//                                a top-level window, or else a control inside one),
//                                its lists and their items:
//                                  client  <name> <role> <children>
//                                  list    <name> <role> <items> <left,top,width,height>
//                                  item    <list> <name> <role> <description> <shortcut> <default action>
//                                          <focused 0/1> <selected 0/1> <left,top,width,height>
//                                  focus   <list> <name>          (as the client object's focus leads there)
//   watch <class> <ms> <count>   prints "ready", then one "focus <name> <description>" line for every focus
//                                event of the cells of the first window of that class (shown or not), each
//                                read from the event alone, until `count` events came or the time is up
//   do <class> <name>            the default action of the item of that name
//   select <class> <name>        takes the focus and the selection onto the item of that name
//   high-contrast on|off [name=RRGGBB ...]
//                                switches the user's high-contrast setting as the system's own switch does:
//                                SPI_SETHIGHCONTRAST (which Wine refuses), the stored "Flags" setting, the
//                                given system colours (window, windowtext, highlight, highlighttext, btnface,
//                                btntext), and WM_SETTINGCHANGE to every window
//   dark-mode on|off             switches Windows' apps to dark or light as the system's Settings does: the
//                                user's "AppsUseLightTheme" value, then WM_SETTINGCHANGE "ImmersiveColorSet" to
//                                every window

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The system's IID_IAccessible (MinGW's import library has another value).
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Utf8(const wchar_t* text, int length = -1) {
    if (!text)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    if (length < 0 && !out.empty())
        out.pop_back(); // the terminating zero
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::string Take(BSTR text) {
    std::string out = text ? Utf8(text, static_cast<int>(SysStringLen(text))) : std::string();
    SysFreeString(text);
    return out;
}

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

struct Element {
    IAccessible* object = nullptr; // not owned
    LONG child = CHILDID_SELF;
};

std::string Name(const Element& e) {
    BSTR text = nullptr;
    e.object->get_accName(Child(e.child), &text);
    return Take(text);
}
std::string Description(const Element& e) {
    BSTR text = nullptr;
    e.object->get_accDescription(Child(e.child), &text);
    return Take(text);
}
std::string Shortcut(const Element& e) {
    BSTR text = nullptr;
    e.object->get_accKeyboardShortcut(Child(e.child), &text);
    return Take(text);
}
std::string DefaultAction(const Element& e) {
    BSTR text = nullptr;
    e.object->get_accDefaultAction(Child(e.child), &text);
    return Take(text);
}
std::string RoleText(const Element& e) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(e.object->get_accRole(Child(e.child), &role)) || role.vt != VT_I4)
        return "?";
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
    return Utf8(text);
}
LONG State(const Element& e) {
    VARIANT state;
    VariantInit(&state);
    if (FAILED(e.object->get_accState(Child(e.child), &state)) || state.vt != VT_I4)
        return 0;
    return state.lVal;
}
std::string Location(const Element& e) {
    long l = 0, t = 0, w = 0, h = 0;
    e.object->accLocation(&l, &t, &w, &h, Child(e.child));
    return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(w) + "," + std::to_string(h);
}

// The children of an object: child objects (owned, to be released) and simple elements.
struct Children {
    std::vector<IAccessible*> objects;
    std::vector<Element> elements; // in order; objects appear with child == CHILDID_SELF
    ~Children() {
        for (IAccessible* o : objects)
            o->Release();
    }
};

void ReadChildren(IAccessible* parent, Children& out) {
    long count = 0;
    if (FAILED(parent->get_accChildCount(&count)) || count <= 0)
        return;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long obtained = 0;
    if (FAILED(AccessibleChildren(parent, 0, count, children.data(), &obtained)))
        return;
    for (long i = 0; i < obtained; ++i) {
        VARIANT& v = children[static_cast<size_t>(i)];
        if (v.vt == VT_DISPATCH && v.pdispVal) {
            IAccessible* object = nullptr;
            if (SUCCEEDED(v.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&object)))) {
                out.objects.push_back(object);
                out.elements.push_back({object, CHILDID_SELF});
            }
        } else if (v.vt == VT_I4) {
            out.elements.push_back({parent, v.lVal});
        }
        VariantClear(&v);
    }
}

// A visible control of that class inside any top-level window (a dialog's own grid, say).
HWND FindChild(const wchar_t* className, bool visibleOnly) {
    struct Search {
        const wchar_t* className;
        bool visibleOnly;
        HWND found;
    } search{className, visibleOnly, nullptr};
    EnumWindows(
        [](HWND top, LPARAM data) -> BOOL {
            EnumChildWindows(
                top,
                [](HWND child, LPARAM inner) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(inner);
                    wchar_t name[256] = {};
                    GetClassNameW(child, name, 256);
                    if (_wcsicmp(name, s->className) == 0 && (!s->visibleOnly || IsWindowVisible(child))) {
                        s->found = child;
                        return FALSE;
                    }
                    return TRUE;
                },
                data);
            return reinterpret_cast<Search*>(data)->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitWindow(const wchar_t* className, DWORD ms, bool visibleOnly = true) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        for (HWND w = FindWindowW(className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr))
            if (!visibleOnly || IsWindowVisible(w))
                return w;
        if (const HWND child = FindChild(className, visibleOnly))
            return child;
        if (static_cast<LONG>(end - GetTickCount()) <= 0)
            return nullptr;
        Sleep(50);
    }
}

IAccessible* ClientOf(HWND window) {
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&client))))
        return nullptr;
    return client;
}

int Tree(const wchar_t* className, DWORD ms) {
    const HWND window = WaitWindow(className, ms);
    IAccessible* client = window ? ClientOf(window) : nullptr;
    if (!client)
        return 1;
    Children lists;
    ReadChildren(client, lists);
    const Element self{client, CHILDID_SELF};
    std::printf("client\t%s\t%s\t%zu\n", Name(self).c_str(), RoleText(self).c_str(), lists.elements.size());
    for (const Element& list : lists.elements) {
        Children items;
        ReadChildren(list.object, items);
        const std::string listName = Name(list);
        std::printf("list\t%s\t%s\t%zu\t%s\n", listName.c_str(), RoleText(list).c_str(), items.elements.size(),
                    Location(list).c_str());
        for (const Element& item : items.elements) {
            const LONG state = State(item);
            std::printf("item\t%s\t%s\t%s\t%s\t%s\t%s\t%d\t%d\t%s\n", listName.c_str(), Name(item).c_str(),
                        RoleText(item).c_str(), Description(item).c_str(), Shortcut(item).c_str(),
                        DefaultAction(item).c_str(), (state & STATE_SYSTEM_FOCUSED) ? 1 : 0,
                        (state & STATE_SYSTEM_SELECTED) ? 1 : 0, Location(item).c_str());
        }
    }
    // The focus as a screen reader finds it on arrival: the client's focus leads to a list, the list's to a cell.
    VARIANT focus;
    VariantInit(&focus);
    if (client->get_accFocus(&focus) == S_OK && focus.vt == VT_DISPATCH && focus.pdispVal) {
        IAccessible* list = nullptr;
        if (SUCCEEDED(focus.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&list)))) {
            VARIANT cell;
            VariantInit(&cell);
            if (list->get_accFocus(&cell) == S_OK && cell.vt == VT_I4)
                std::printf("focus\t%s\t%s\n", Name({list, CHILDID_SELF}).c_str(), Name({list, cell.lVal}).c_str());
            list->Release();
        }
    }
    VariantClear(&focus);
    std::fflush(stdout);
    client->Release();
    return 0;
}

HWND watched = nullptr;
int eventsLeft = 0;

void CALLBACK FocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd != watched || object != OBJID_CLIENT || child == CHILDID_SELF)
        return;
    IAccessible* source = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (FAILED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child), &source, &id)) ||
        !source)
        return;
    const Element e{source, id.vt == VT_I4 ? id.lVal : CHILDID_SELF};
    std::printf("focus\t%s\t%s\n", Name(e).c_str(), Description(e).c_str());
    std::fflush(stdout);
    source->Release();
    --eventsLeft;
}

int Watch(const wchar_t* className, DWORD ms, int count) {
    // A visible control of the class first: a dialog keeps the grid of the page not on top hidden.
    watched = FindChild(className, true);
    if (!watched)
        watched = WaitWindow(className, ms, false);
    if (!watched)
        return 1;
    DWORD process = 0;
    GetWindowThreadProcessId(watched, &process);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &FocusEvent, process, 0,
                                               WINEVENT_OUTOFCONTEXT);
    if (!hook)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    eventsLeft = count;
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (eventsLeft > 0 && static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    UnhookWinEvent(hook);
    return eventsLeft > 0 ? 1 : 0;
}

// The item of that name in any list: its list object (owned by the caller) and its number there.
bool FindItem(IAccessible* client, const std::string& name, IAccessible*& list, LONG& child) {
    Children lists;
    ReadChildren(client, lists);
    for (IAccessible* candidate : lists.objects) {
        Children items;
        ReadChildren(candidate, items);
        for (const Element& item : items.elements)
            if (item.child != CHILDID_SELF && Name(item) == name) {
                candidate->AddRef();
                list = candidate;
                child = item.child;
                return true;
            }
    }
    return false;
}

int Act(const wchar_t* className, const wchar_t* name, bool run) {
    const HWND window = WaitWindow(className, 5000);
    IAccessible* client = window ? ClientOf(window) : nullptr;
    if (!client)
        return 1;
    IAccessible* list = nullptr;
    LONG child = 0;
    HRESULT hr = E_FAIL;
    if (FindItem(client, Utf8(name), list, child)) {
        hr = run ? list->accDoDefaultAction(Child(child))
                 : list->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(child));
        list->Release();
    }
    client->Release();
    std::printf("%s 0x%08lx\n", run ? "do" : "select", static_cast<unsigned long>(hr));
    return hr == S_OK ? 0 : 1;
}

int Usage();

int HighContrast(bool on, int argc, wchar_t** argv) {
    struct Named {
        const wchar_t* name;
        int index;
    };
    constexpr Named kColours[] = {{L"window", COLOR_WINDOW},       {L"windowtext", COLOR_WINDOWTEXT},
                                  {L"highlight", COLOR_HIGHLIGHT}, {L"highlighttext", COLOR_HIGHLIGHTTEXT},
                                  {L"btnface", COLOR_BTNFACE},     {L"btntext", COLOR_BTNTEXT}};
    std::vector<int> indexes;
    std::vector<COLORREF> values;
    for (int i = 0; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const auto equals = arg.find(L'=');
        if (equals == std::wstring::npos)
            return Usage();
        const std::wstring name = arg.substr(0, equals);
        const unsigned long rgb = std::wcstoul(arg.c_str() + equals + 1, nullptr, 16);
        bool known = false;
        for (const Named& n : kColours)
            if (name == n.name) {
                indexes.push_back(n.index);
                values.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
                known = true;
            }
        if (!known)
            return Usage();
    }
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    setting.dwFlags = HCF_AVAILABLE | (on ? HCF_HIGHCONTRASTON : 0);
    const BOOL spi = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(setting), &setting, SPIF_UPDATEINIFILE);
    const wchar_t* flags = on ? L"127" : L"126";
    HKEY key = nullptr;
    LONG stored = RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (stored == ERROR_SUCCESS) {
        stored = RegSetValueExW(key, L"Flags", 0, REG_SZ, reinterpret_cast<const BYTE*>(flags),
                                static_cast<DWORD>((wcslen(flags) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    const BOOL colours =
        indexes.empty() || SetSysColors(static_cast<int>(indexes.size()), indexes.data(), values.data());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST,
                        reinterpret_cast<LPARAM>(L"Accessibility"), SMTO_ABORTIFHUNG, 3000, &ignored);
    std::printf("high-contrast %s: system %s, stored %s, colours %s\n", on ? "on" : "off", spi ? "yes" : "refused",
                stored == ERROR_SUCCESS ? "yes" : "failed", colours ? "yes" : "failed");
    return stored == ERROR_SUCCESS && colours ? 0 : 1;
}

int DarkMode(bool on) {
    const DWORD light = on ? 0 : 1;
    const LONG stored =
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                        L"AppsUseLightTheme", REG_DWORD, &light, sizeof(light));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 3000, &ignored);
    std::printf("dark-mode %s: stored %s\n", on ? "on" : "off", stored == ERROR_SUCCESS ? "yes" : "failed");
    return stored == ERROR_SUCCESS ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr, "usage: vanaccess tree <class> [ms] | watch <class> <ms> <count> | do <class> <name> | "
                         "select <class> <name> | high-contrast on|off [name=RRGGBB ...] | dark-mode on|off\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return Usage();
    if (std::wcscmp(argv[1], L"high-contrast") == 0) {
        const bool on = std::wcscmp(argv[2], L"on") == 0;
        if (!on && std::wcscmp(argv[2], L"off") != 0)
            return Usage();
        return HighContrast(on, argc - 3, argv + 3);
    }
    if (std::wcscmp(argv[1], L"dark-mode") == 0) {
        const bool on = std::wcscmp(argv[2], L"on") == 0;
        if (argc != 3 || (!on && std::wcscmp(argv[2], L"off") != 0))
            return Usage();
        return DarkMode(on);
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring command = argv[1];
    int rc = 2;
    if (command == L"tree")
        rc = Tree(argv[2], argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 5000);
    else if (command == L"watch" && argc == 5)
        rc = Watch(argv[2], static_cast<DWORD>(_wtoi(argv[3])), _wtoi(argv[4]));
    else if (command == L"do" && argc == 4)
        rc = Act(argv[2], argv[3], true);
    else if (command == L"select" && argc == 4)
        rc = Act(argv[2], argv[3], false);
    else
        rc = Usage();
    CoUninitialize();
    return rc;
}
