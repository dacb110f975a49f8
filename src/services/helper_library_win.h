#pragma once
// The optional helper library "vanex.dll", which answers questions about Windows 10 and Store-application
// windows. Every caller works without it: an unbound entry point answers 0.

#include <cstdint>

#include <windows.h>

#include "win/unique_handle_win.h"

namespace vantrel::win {

class HelperLibrary {
public:
    HelperLibrary() = default;
    ~HelperLibrary() { Unbind(); }
    HelperLibrary(const HelperLibrary&) = delete;
    HelperLibrary& operator=(const HelperLibrary&) = delete;

    // Loads the library from the program's own folder (never through the search path, so a planted copy in
    // the current folder cannot load) on version 1602 or higher, looks up its entry points and initialises
    // it. A missing library or entry point is not reported.
    void Bind(int winVersion);
    void Unbind();

    bool Loaded() const { return static_cast<bool>(module_); }
    bool IsWindows10() const { return isWindows10_ && isWindows10_() != 0; }
    bool IsUwpWindow(HWND window) const { return isUwpWindow_ && isUwpWindow_(WindowValue(window)) != 0; }
    HICON UwpAppIcon(HWND coreWindow) const {
        return getUwpAppIcon_ ? getUwpAppIcon_(WindowValue(coreWindow)) : nullptr;
    }

private:
    using VoidEntry = void(WINAPI*)();
    using IntEntry = int32_t(WINAPI*)();
    using WindowEntry = int32_t(WINAPI*)(int32_t);
    using IconEntry = HICON(WINAPI*)(int32_t);

    // Window handles carry 32 significant bits on every Windows, which is how the library takes them.
    static int32_t WindowValue(HWND window) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)); }

    UniqueModule module_;
    IconEntry getUwpAppIcon_ = nullptr;
    VoidEntry initVantrelEx_ = nullptr;
    VoidEntry endVantrelEx_ = nullptr;
    WindowEntry isUwpWindow_ = nullptr;
    IntEntry isWindows10_ = nullptr;
};

// Loads a library of the program's own folder by its full path; null when it is not there.
HMODULE LoadLibraryBesideProgram(const wchar_t* fileName);

} // namespace vantrel::win
