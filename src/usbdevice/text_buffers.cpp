#include "usbdevice/text_buffers.h"

#include <algorithm>
#include <cstring>

namespace vantrel::dravik {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Units of the character that starts at `at`: a surrogate pair counts as one character.
size_t CharacterLength(std::u16string_view text, size_t at) {
    return at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

} // namespace

int32_t CopyToBuffer(std::u16string_view text, char16_t* buffer, int32_t size) {
    if (size < 1)
        return 0;
    size_t length = std::min(text.size(), static_cast<size_t>(size) - 1);
    if (length > 0 && length < text.size() && IsHighSurrogate(text[length - 1]) && IsLowSurrogate(text[length]))
        --length;
    std::copy_n(text.begin(), length, buffer);
    buffer[length] = 0;
    return static_cast<int32_t>(length);
}

int32_t CopyToBuffer(std::u16string_view text, char* buffer, int32_t size, const AnsiConverter& toAnsi) {
    if (size < 1)
        return 0;
    buffer[0] = 0;
    const size_t room = static_cast<size_t>(size) - 1;
    const std::optional<std::string> whole = toAnsi(text);
    if (!whole)
        return 0;
    if (whole->size() <= room) {
        std::memcpy(buffer, whole->data(), whole->size());
        buffer[whole->size()] = 0;
        return static_cast<int32_t>(whole->size());
    }
    // Too long: convert character by character, so that a multi-byte character is kept whole or left out.
    size_t used = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t units = CharacterLength(text, at);
        const std::optional<std::string> bytes = toAnsi(text.substr(at, units));
        if (!bytes || used + bytes->size() > room)
            break;
        std::memcpy(buffer + used, bytes->data(), bytes->size());
        used += bytes->size();
        at += units;
    }
    buffer[used] = 0;
    return static_cast<int32_t>(used);
}

} // namespace vantrel::dravik
