#pragma once
// The models' UTF-16 text as UTF-8, for logs and the messages of failed expectations.

#include <string>
#include <string_view>

namespace vantrel {

inline std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        const int tail = cp < 0x80 ? 0 : cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
        constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
        out.push_back(static_cast<char>(kLead[tail] | (cp >> (6 * tail))));
        for (int k = tail - 1; k >= 0; --k)
            out.push_back(static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F)));
    }
    return out;
}

} // namespace vantrel
