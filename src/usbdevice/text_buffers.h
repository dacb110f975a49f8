#pragma once
// Copies of the library's UTF-16 texts into buffers that callers own. Whatever size a caller passes, nothing
// is written past it, a copy never ends inside a character, and the text is always terminated.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::dravik {

// Converts UTF-16 text to the system's ANSI code page; absent when the conversion fails.
using AnsiConverter = std::function<std::optional<std::string>(std::u16string_view)>;

// Copies as much of the text as fits in size - 1 units and a terminator; returns the units copied. A size
// below 1 leaves the buffer untouched.
int32_t CopyToBuffer(std::u16string_view text, char16_t* buffer, int32_t size);

// The same in ANSI, size in bytes: whole characters only, so a double-byte character that does not fit is
// left out rather than split. A text that cannot be converted gives an empty buffer.
int32_t CopyToBuffer(std::u16string_view text, char* buffer, int32_t size, const AnsiConverter& toAnsi);

} // namespace vantrel::dravik
