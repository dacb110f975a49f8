#pragma once
// Top-level windows of "another program" for the adapter tests. Icon and close messages reach only windows
// of this process under Wine, so the other program is a thread of the test: one that keeps answering, one
// whose windows refuse to close, or one that stops taking messages once its windows are up.

#include <windows.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::testing {

enum class Answers { Yes, RefusesClose, Hangs };
// Only tests that enumerate the desktop need the windows shown: outside a virtual desktop Wine waits up to
// two seconds for a window manager whenever a shown window goes. Active: shown, and the last one made the
// foreground window before the thread starts answering (or stops).
enum class Shown { No, Yes, Active };

class WindowThread {
public:
    static constexpr wchar_t kClass[] = L"VanTestOtherWindow";
    static constexpr wchar_t kRefusingClass[] = L"VanTestRefusingWindow";

    // Windows titled "Task 1" .. "Task <count>", each given bigIcon when there is one.
    explicit WindowThread(int count, Answers answers = Answers::Yes, Shown shown = Shown::No, HICON bigIcon = nullptr) {
        RegisterClasses();
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        finished_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([=, this] {
            threadId_ = GetCurrentThreadId();
            for (int i = 0; i < count; ++i) {
                const std::wstring title = L"Task " + std::to_wstring(i + 1);
                HWND w = CreateWindowExW(WS_EX_WINDOWEDGE, answers == Answers::RefusesClose ? kRefusingClass : kClass,
                                         title.c_str(), WS_OVERLAPPEDWINDOW, 100 + 10 * i, 100, 200, 100, nullptr,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
                if (bigIcon)
                    SendMessageW(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
                if (shown != Shown::No)
                    ShowWindow(w, SW_SHOWNOACTIVATE);
                windows.push_back(w);
            }
            if (shown == Shown::Active && !windows.empty())
                SetForegroundWindow(windows.back());
            SetEvent(ready);
            if (answers == Answers::Hangs) {
                WaitForSingleObject(release_, INFINITE);
            } else {
                MSG msg;
                while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                    DispatchMessageW(&msg);
            }
            for (HWND w : windows)
                if (IsWindow(w))
                    DestroyWindow(w);
            SetEvent(finished_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~WindowThread() {
        SetEvent(release_);
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        // Destroying a window may wait for this thread (its input context lives here): keep answering.
        while (MsgWaitForMultipleObjects(1, &finished_, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        thread_.join();
        CloseHandle(release_);
        CloseHandle(finished_);
    }
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    std::intptr_t Handle(std::size_t i = 0) const { return reinterpret_cast<std::intptr_t>(windows.at(i)); }

    std::vector<HWND> windows;

private:
    static LRESULT CALLBACK RefusingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static void RegisterClasses() {
        WNDCLASSW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = kClass;
        RegisterClassW(&wc); // fails harmlessly once the class exists
        wc.lpfnWndProc = RefusingProc;
        wc.lpszClassName = kRefusingClass;
        RegisterClassW(&wc);
    }

    HANDLE release_ = nullptr;
    HANDLE finished_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

} // namespace vantrel::testing
