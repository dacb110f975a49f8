// vantestwin: a tiny resident program for checking the end-to-end harness itself. It behaves like a
// notification-area program: a hidden main window (class "VanTestMain"), a tray icon, and on a right click a
// popup menu with a normal, a greyed and a checked entry, a separator and "E&xit", which ends it.
// With the argument "visible" it also shows a plain window titled "vantestwin", for the window waits; an
// argument ending in ".ico" names the file of its tray icon (the system's application icon otherwise).

#include <windows.h>

#include <shellapi.h>

#include <cwchar>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kExit = 100;

void ShowMenu(HWND hwnd) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 101, L"&First");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"&Greyed...");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 103, L"&Checked");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kExit, L"E&xit");
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(hwnd);
    const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
    PostMessageW(hwnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (command == kExit)
        DestroyWindow(hwnd);
}

NOTIFYICONDATAW TrayData(HWND hwnd) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uID = 1;
    return data;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTrayMessage:
        if (LOWORD(lParam) == WM_RBUTTONDOWN)
            ShowMenu(hwnd);
        return 0;
    case WM_DESTROY: {
        NOTIFYICONDATAW data = TrayData(hwnd);
        Shell_NotifyIconW(NIM_DELETE, &data);
        PostQuitMessage(0);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSW main{};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.lpszClassName = L"VanTestMain";
    RegisterClassW(&main);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"VanTestMain", L"VanTestMain", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    NOTIFYICONDATAW data = TrayData(hwnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        const size_t length = std::wcslen(argv[i]);
        if (length > 4 && _wcsicmp(argv[i] + length - 4, L".ico") == 0) {
            if (HANDLE icon = LoadImageW(nullptr, argv[i], IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE))
                data.hIcon = static_cast<HICON>(icon);
        }
    }
    LocalFree(argv);
    wcscpy(data.szTip, L"vantestwin");
    Shell_NotifyIconW(NIM_ADD, &data);

    if (commandLine && std::wcsstr(commandLine, L"visible")) {
        WNDCLASSW plain{};
        plain.lpfnWndProc = DefWindowProcW;
        plain.hInstance = instance;
        plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        plain.lpszClassName = L"VanTestPlain";
        RegisterClassW(&plain);
        HWND shown = CreateWindowExW(0, L"VanTestPlain", L"vantestwin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                     200, hwnd, nullptr, instance, nullptr);
        (void)shown;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
