#pragma once
// The one place where the models' UTF-16 strings meet the Win32 wide strings (both UTF-16 on Windows).

#include <string>
#include <string_view>

namespace vantrel::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
inline const wchar_t* WidePtr(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

} // namespace vantrel::win
