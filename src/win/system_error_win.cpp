// Apart from the window code, so that a program that only reads and writes files (the settings adapter, the
// settings writer of the crash test) links no user-interface library: such a program starts faster.

#include <string>

#include "win/window_win.h"

namespace vantrel::win {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"Error " + std::to_wstring(code) + L".";
    return text;
}

} // namespace vantrel::win
