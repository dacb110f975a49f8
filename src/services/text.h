#pragma once
// Small text helpers shared by the models: ASCII case folding for keywords, macros and extensions, and
// UTF-8 to UTF-16 for settings files saved as UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

std::u16string AsciiLower(std::u16string_view text);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// Decimal digits of n, with a leading '-' when negative.
std::u16string DecimalText(int64_t n);

// Strict UTF-8 (no overlong forms, surrogates or code points past U+10FFFF); each error becomes one
// U+FFFD, as the system's own conversion counts them. Never fails.
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace vantrel
