#include "services/helper_library_win.h"

#include <string>

#include "win/system_library_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

template <typename Entry> Entry Lookup(HMODULE module, const char* name) {
    // Entry points are looked up by name; their types are fixed by the library's interface.
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

HMODULE LoadLibraryBesideProgram(const wchar_t* fileName) {
    const std::wstring path = ModuleFolder() + L"\\" + fileName;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    return LoadLibraryAt(path);
}

void HelperLibrary::Bind(int winVersion) {
    Unbind();
    if (winVersion < 1602)
        return;
    module_.Reset(LoadLibraryBesideProgram(L"vanex.dll"));
    if (!module_)
        return;
    getUwpAppIcon_ = Lookup<IconEntry>(module_.Get(), "GetUWPAppIcon");
    initVantrelEx_ = Lookup<VoidEntry>(module_.Get(), "InitVantrelEx");
    endVantrelEx_ = Lookup<VoidEntry>(module_.Get(), "EndVantrelEx");
    isUwpWindow_ = Lookup<WindowEntry>(module_.Get(), "IsUWPWindow");
    isWindows10_ = Lookup<IntEntry>(module_.Get(), "IsWindows10");
    if (initVantrelEx_)
        initVantrelEx_();
}

void HelperLibrary::Unbind() {
    if (module_ && endVantrelEx_)
        endVantrelEx_();
    getUwpAppIcon_ = nullptr;
    initVantrelEx_ = nullptr;
    endVantrelEx_ = nullptr;
    isUwpWindow_ = nullptr;
    isWindows10_ = nullptr;
    module_.Reset();
}

} // namespace vantrel::win
