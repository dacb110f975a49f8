#include "services/text.h"

namespace vantrel {

namespace {

char16_t AsciiLowerChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

std::u16string AsciiLower(std::u16string_view text) {
    std::u16string result(text);
    for (auto& c : result)
        c = AsciiLowerChar(c);
    return result;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i]))
            return false;
    return true;
}

std::u16string DecimalText(int64_t n) {
    // Work in unsigned arithmetic so that the most negative value has a magnitude too.
    const bool negative = n < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    return negative ? u"-" + digits : digits;
}

// Strict UTF-8: overlong forms, surrogates and code points past U+10FFFF are errors, so that no byte
// sequence can smuggle in a line break, '=' or '[' that the system's reader would not see. Each error
// becomes one U+FFFD covering the bytes read up to it, which is how the system's conversion counts them.
std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead < 0x80) {
            text.push_back(lead);
            continue;
        }
        const int following = lead >= 0xC2 && lead <= 0xDF   ? 1
                              : lead >= 0xE0 && lead <= 0xEF ? 2
                              : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                             : 0;
        char32_t code = lead & (0x3F >> following);
        bool valid = following > 0;
        for (int k = 0; valid && k < following; ++k) {
            const auto next = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            ++i;
            code = (code << 6) | (next & 0x3F);
            // The second byte alone tells an overlong form, a surrogate or a code point out of range.
            if (k == 0 && ((lead == 0xE0 && next < 0xA0) || (lead == 0xED && next >= 0xA0) ||
                           (lead == 0xF0 && next < 0x90) || (lead == 0xF4 && next >= 0x90)))
                valid = false;
        }
        if (!valid) {
            text.push_back(0xFFFD);
        } else if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
    }
    return text;
}

} // namespace vantrel
