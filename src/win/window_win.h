#pragma once
// Base of every window of the program: the window procedure finds the C++ object through GWLP_USERDATA
// (stored on WM_NCCREATE) and hands each message to its virtual OnMessage.

#include <cstdint>
#include <string>

#include <windows.h>

namespace vantrel::win {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process and creates the window; false when creation failed.
    bool Create(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x, int y, int width,
                int height, HWND parent, HICON classIcon = nullptr);

    // Return the message's result; call DefaultProc for what the subclass leaves to the system.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Full path of the running program and the folder it is in (no trailing backslash).
std::wstring ModulePath(HMODULE module = nullptr);
std::wstring ModuleFolder(HMODULE module = nullptr);

// The system's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// The models know windows by number; these turn one into the other.
inline HWND ToHwnd(std::intptr_t window) {
    return reinterpret_cast<HWND>(window);
}
inline std::intptr_t FromHwnd(HWND window) {
    return reinterpret_cast<std::intptr_t>(window);
}

// Empties the calling thread's message queue through the usual translate and dispatch. A quit message is
// put back for the main loop.
void ProcessPendingMessages();

} // namespace vantrel::win
