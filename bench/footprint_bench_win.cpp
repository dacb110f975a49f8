// The resident program's footprint over many shows, measured inside its own code under Wine:
//
//   footprint_bench [shows] [task-window program]
//
// prints the private bytes and the GDI and USER objects of the process after start, after the first show and
// after 100, 250 and `shows` (default 500) shows. Between two shows a window of this process opens and an
// older one closes; every 50 shows the task-window program (when given) is started again and its previous
// copy ended, so that the Task tray keeps meeting windows and program files it has not seen. Nothing may grow
// with the number of shows.
//
// Then the window is read as a screen reader reads it, 500 times: once through a client object obtained anew
// each time (WM_GETOBJECT answered 500 times) and once through one client object (every list and cell name,
// 500 times). The lines give the growth of the private bytes and the references the client object holds. Under
// Wine 8 every answered WM_GETOBJECT keeps about 2 KiB inside the system's marshalling (LresultFromObject and
// ObjectFromLresult; the object's references stay the same), which the first line shows.
//
// Wine answers neither GetGuiResources nor the private-usage counter; the figures then come from the address
// space (committed private pages) and from the handle tables (each handle value asked for its object), and
// the line says so.

#include <windows.h>

#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <string>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "launcher/launcher_window_win.h"

using vantrel::bench::PumpUntil;
using vantrel::bench::ShowByHotKey;
using vantrel::win::VantrelMain;

namespace {

struct Footprint {
    std::size_t privateBytes = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    bool counted = false; // from the handle tables rather than the system's counters
};

std::size_t CommittedPrivateBytes() {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto* at = static_cast<const char*>(nullptr); VirtualQuery(at, &info, sizeof(info)) == sizeof(info);) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// Wine finds a GDI object by the low word of its handle, and a USER object by its index alone.
unsigned long CountGdiObjects() {
    unsigned long count = 0;
    for (ULONG_PTR h = 1; h < 0x10000; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)))
            ++count;
    return count;
}

unsigned long CountUserObjects() {
    unsigned long count = 0;
    const DWORD self = GetCurrentProcessId();
    for (ULONG_PTR h = 0x20; h < 0x10000; h += 2) {
        const auto handle = reinterpret_cast<HANDLE>(h);
        DWORD process = 0;
        if (IsWindow(static_cast<HWND>(handle))) {
            GetWindowThreadProcessId(static_cast<HWND>(handle), &process);
            count += process == self;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++count;
        } else {
            ICONINFO icon{};
            if (GetIconInfo(static_cast<HICON>(handle), &icon)) {
                ++count;
                DeleteObject(icon.hbmColor);
                DeleteObject(icon.hbmMask);
            }
        }
    }
    return count;
}

Footprint Measure() {
    Footprint f;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
        f.privateBytes = memory.PrivateUsage;
    if (f.privateBytes == 0)
        f.privateBytes = CommittedPrivateBytes();
    f.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    f.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (f.gdi == 0 && f.user == 0) {
        f.gdi = CountGdiObjects();
        f.user = CountUserObjects();
        f.counted = true;
    }
    return f;
}

void Print(const char* when, const Footprint& f) {
    std::printf("  %-18s private %8.1f KiB, GDI objects %4lu, USER objects %4lu%s\n", when,
                static_cast<double>(f.privateBytes) / 1024.0, f.gdi, f.user, f.counted ? " (counted)" : "");
    std::fflush(stdout);
}

constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Every list's and cell's name through the client object; the number of cell names read.
int ReadLists(IAccessible* client) {
    int names = 0;
    long lists = 0;
    client->get_accChildCount(&lists);
    for (long l = 1; l <= lists; ++l) {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = l;
        IDispatch* dispatch = nullptr;
        IAccessible* list = nullptr;
        if (client->get_accChild(id, &dispatch) == S_OK && dispatch) {
            dispatch->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&list));
            dispatch->Release();
        }
        if (!list)
            continue;
        long cells = 0;
        list->get_accChildCount(&cells);
        for (long c = 1; c <= cells; ++c) {
            id.lVal = c;
            BSTR name = nullptr;
            if (list->get_accName(id, &name) == S_OK)
                ++names;
            SysFreeString(name);
        }
        list->Release();
    }
    return names;
}

// The same through a client object asked of the window anew.
int ReadAccessibleTree(HWND window) {
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&client))))
        return 0;
    const int names = ReadLists(client);
    client->Release();
    return names;
}

// The references the window's client object holds, seen through a fresh answer of the window.
ULONG ClientReferences(HWND window) {
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&client))))
        return 0;
    const ULONG references = client->AddRef() - 2; // this answer's and the AddRef's
    client->Release();
    client->Release();
    return references;
}

int ScreenReaderReads(VantrelMain& main) {
    constexpr int kReads = 500;
    const HWND window = main.Launcher()->Handle();
    if (!ShowByHotKey(main))
        return 1;
    std::printf("read as a screen reader reads it (%d times each):\n", kReads);
    const ULONG references = ClientReferences(window);
    Footprint before = Measure();
    for (int i = 0; i < kReads; ++i)
        if (ReadAccessibleTree(window) == 0) {
            std::fprintf(stderr, "read %d found no cells\n", i + 1);
            return 1;
        }
    Footprint after = Measure();
    std::printf("  a client object anew each time: private %+.1f KiB, GDI %+ld, USER %+ld; client references %lu "
                "before, %lu after\n",
                (static_cast<double>(after.privateBytes) - static_cast<double>(before.privateBytes)) / 1024.0,
                static_cast<long>(after.gdi) - static_cast<long>(before.gdi),
                static_cast<long>(after.user) - static_cast<long>(before.user), references, ClientReferences(window));
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&client))))
        return 1;
    before = Measure();
    for (int i = 0; i < kReads; ++i)
        ReadLists(client);
    after = Measure();
    client->Release();
    std::printf("  one client object: private %+.1f KiB, GDI %+ld, USER %+ld\n",
                (static_cast<double>(after.privateBytes) - static_cast<double>(before.privateBytes)) / 1024.0,
                static_cast<long>(after.gdi) - static_cast<long>(before.gdi),
                static_cast<long>(after.user) - static_cast<long>(before.user));
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0);
    return 0;
}

void PumpIdle(double ms) {
    PumpUntil([] { return false; }, ms);
}

// Task windows of this process that come and go between the shows.
class Churn {
public:
    ~Churn() {
        for (HWND w : windows_)
            DestroyWindow(w);
    }
    void Step(int n) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.lpszClassName = L"VanFootprintWindow";
        RegisterClassW(&wc); // once; later calls fail harmlessly
        const std::wstring title = L"Churn " + std::to_wstring(n);
        HWND w =
            CreateWindowExW(WS_EX_WINDOWEDGE, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40 + 8 * (n % 20),
                            40 + 8 * (n % 20), 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
        if (w) {
            ShowWindow(w, SW_SHOWNOACTIVATE);
            windows_.push_back(w);
        }
        while (windows_.size() > 3) {
            DestroyWindow(windows_.front());
            windows_.pop_front();
        }
    }

private:
    std::deque<HWND> windows_;
};

// Another program's windows, started again every so often.
class OtherProgram {
public:
    explicit OtherProgram(std::wstring path) : path_(std::move(path)) {}
    ~OtherProgram() { End(); }
    void Restart(int n) {
        End();
        if (path_.empty())
            return;
        std::wstring command = L"\"" + path_ + L"\" --count 2 --title \"Other " + std::to_wstring(n) + L"\"";
        STARTUPINFOW startup{sizeof(startup)};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process_)) {
            CloseHandle(process_.hThread);
            WaitForInputIdle(process_.hProcess, 5000);
        } else {
            process_ = {};
        }
    }

private:
    void End() {
        if (!process_.hProcess)
            return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
    std::wstring path_;
    PROCESS_INFORMATION process_{};
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int shows = argc > 1 ? std::max(1, _wtoi(argv[1])) : 500;
    OtherProgram other(argc > 2 ? argv[2] : L"");
    VantrelMain main;
    if (!main.Start() || !vantrel::bench::Started(main)) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    // The start's messages, and the dialogs the program makes once it is idle after the start: "after start" is the
    // resident program as it then stays.
    PumpIdle(3000);
    std::printf("footprint of the resident program (%d shows, windows opening and closing between them):\n", shows);
    Print("after start", Measure());
    Churn churn;
    for (int i = 1; i <= shows; ++i) {
        if (i % 50 == 1)
            other.Restart(i);
        churn.Step(i);
        if (!ShowByHotKey(main)) {
            std::fprintf(stderr, "show %d was never painted\n", i);
            return 1;
        }
        SendMessageW(main.Handle(), WM_HOTKEY, 0, 0); // the hot key again hides it
        PumpIdle(5);
        if (i == 1 || i == 100 || i == 250 || i == shows) {
            PumpIdle(200);
            const std::string when = "after " + std::to_string(i) + (i == 1 ? " show" : " shows");
            Print(when.c_str(), Measure());
        }
    }
    return ScreenReaderReads(main);
}
