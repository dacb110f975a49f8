#include "config/ini_document.h"

#include "services/text.h"

namespace vantrel::config {

namespace {

// The profile functions trim exactly these around names and values: the C locale's white space plus the
// old end-of-file mark (Ctrl+Z). Ideographic and no-break spaces are kept as part of the text.
bool IsProfileSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A;
}

std::u16string_view Trim(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsProfileSpace(text[first]))
        ++first;
    while (last > first && IsProfileSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// The profile functions hold names and values as C strings, so a NUL written into a file ends them.
std::u16string_view UpToNul(std::u16string_view text) {
    return text.substr(0, text.find(u'\0'));
}

// Names compare with ASCII case folding only, as the profile functions do: "é" and "É" are two names.
std::u16string Fold(std::u16string_view name) {
    return AsciiLower(UpToNul(Trim(name)));
}

enum class LineKind { Blank, Comment, Header, Entry };

struct LineParts {
    LineKind kind = LineKind::Blank;
    std::u16string_view name;  // section name of a header, key of an entry; trimmed, a NUL in it not yet cut
    std::u16string_view value; // text after the first '=' of an entry, trimmed
    bool hasValue = false;     // an entry without '=' is a key with no value: it reads as absent
};

LineParts Classify(std::u16string_view line) {
    LineParts parts;
    const std::u16string_view text = Trim(line);
    if (text.empty())
        return parts;
    if (text.front() == u';') {
        parts.kind = LineKind::Comment;
        return parts;
    }
    if (text.front() == u'[') {
        // The name runs to the last ']' on the line; anything after it is ignored. A '[' line without
        // any ']' is not a header but an ordinary (and useless) entry.
        const std::size_t close = text.rfind(u']');
        if (close != std::u16string_view::npos) {
            parts.kind = LineKind::Header;
            parts.name = Trim(text.substr(1, close - 1));
            return parts;
        }
    }
    parts.kind = LineKind::Entry;
    const std::size_t equals = text.find(u'=');
    if (equals == std::u16string_view::npos) {
        parts.name = text;
        return parts;
    }
    parts.name = Trim(text.substr(0, equals));
    parts.value = Trim(text.substr(equals + 1));
    parts.hasValue = true;
    return parts;
}

bool IsQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

bool IsQuoted(std::u16string_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

// The value text that reads back as the given value: line breaks become spaces (a line cannot hold them)
// and NULs go; a value that reading would change (spaces at its ends trimmed, its own quotes stripped)
// is put in one more pair of quotes, which reading removes again.
std::u16string StorableValue(std::u16string_view value) {
    std::u16string text;
    text.reserve(value.size() + 2);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (c == u'\0')
            continue;
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            continue;
        text.push_back(c == u'\r' || c == u'\n' ? u' ' : c);
    }
    const bool padded = !text.empty() && (IsProfileSpace(text.front()) || IsProfileSpace(text.back()));
    if (padded || IsQuoted(text)) {
        text.insert(text.begin(), u'"');
        text.push_back(u'"');
    }
    return text;
}

bool HasLineBreakOrNul(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

bool IsStorableKey(std::u16string_view key) {
    return !key.empty() && key.front() != u';' && key.front() != u'[' && key.find(u'=') == std::u16string_view::npos &&
           !HasLineBreakOrNul(key);
}

} // namespace

std::u16string DecodeWindows1252(std::string_view bytes) {
    // 0x80..0x9F; the five bytes the code page leaves undefined map to the control character of the same
    // number, as the system's conversion does.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b));
    }
    return text;
}

namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    // An odd trailing byte is half a character: dropped.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

} // namespace

std::u16string DecodeIniBytes(std::string_view bytes, const AnsiDecoder& ansi) {
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return Utf8ToUtf16(bytes.substr(3));
    if (StartsWith(bytes, "\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    return ansi ? ansi(bytes) : DecodeWindows1252(bytes);
}

std::string EncodeUtf16LeWithBom(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 + text.size() * 2);
    bytes += "\xFF\xFE";
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

IniDocument IniDocument::Parse(std::u16string_view text) {
    IniDocument doc;
    // CRLF, a lone LF and a lone CR each end a line; a last line without an end still counts.
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find_first_of(u"\r\n", start);
        if (stop == std::u16string_view::npos) {
            doc.AddLine(std::u16string(text.substr(start)));
            break;
        }
        doc.AddLine(std::u16string(text.substr(start, stop - start)));
        start = stop + 1;
        if (text[stop] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;
    }
    return doc;
}

// Appends a line at the end of the document, opening a new section at a header.
void IniDocument::AddLine(std::u16string line) {
    const LineParts parts = Classify(line);
    std::u16string folded = Fold(parts.name); // before the move: parts look into the line
    lines_.push_back(std::move(line));
    const std::size_t index = lines_.size() - 1;
    if (parts.kind == LineKind::Header) {
        Section section;
        section.begin = section.end = index + 1;
        sections_.push_back(std::move(section));
        if (!folded.empty())
            sectionIndex_.try_emplace(std::move(folded), sections_.size() - 1);
        return;
    }
    Section& section = sections_.back();
    section.end = index + 1;
    if (parts.kind == LineKind::Entry) {
        section.entryEnd = section.end - section.begin;
        section.keys.try_emplace(std::move(folded), index - section.begin);
    }
}

std::u16string IniDocument::Serialize() const {
    std::size_t size = 0;
    for (const auto& line : lines_)
        size += line.size() + 2;
    std::u16string text;
    text.reserve(size);
    for (const auto& line : lines_) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

const IniDocument::Section* IniDocument::FindSection(std::u16string_view section) const {
    const std::u16string folded = Fold(section);
    if (folded.empty())
        return &sections_.front();
    const auto it = sectionIndex_.find(folded);
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::u16string> IniDocument::Get(std::u16string_view section, std::u16string_view key) const {
    const Section* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto it = found->keys.find(Fold(key));
    if (it == found->keys.end())
        return std::nullopt;
    const LineParts parts = Classify(lines_[found->begin + it->second]);
    if (!parts.hasValue)
        return std::nullopt;
    std::u16string_view value = UpToNul(parts.value);
    if (IsQuoted(value))
        value = value.substr(1, value.size() - 2);
    return std::u16string(value);
}

// Inserts a line at the end of a section's entries. Only blank lines and comments follow that point
// inside the section, so no key of the section moves; the later sections move down by one line.
void IniDocument::InsertLine(std::size_t sectionIndex, std::u16string line) {
    Section& section = sections_[sectionIndex];
    const std::size_t at = section.begin + section.entryEnd;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    ++section.end;
    ++section.entryEnd;
    for (std::size_t i = sectionIndex + 1; i < sections_.size(); ++i) {
        ++sections_[i].begin;
        ++sections_[i].end;
    }
}

void IniDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    const std::u16string_view sectionName = Trim(section);
    const std::u16string_view keyName = Trim(key);
    if (!IsStorableKey(keyName) || HasLineBreakOrNul(sectionName))
        return;
    const std::u16string text = StorableValue(value);
    const Section* found = FindSection(sectionName);
    if (!found) {
        std::u16string header(1, u'[');
        header.append(sectionName).push_back(u']');
        AddLine(std::move(header));
        found = &sections_.back();
    }
    const auto sectionIndex = static_cast<std::size_t>(found - sections_.data());
    const std::u16string folded = Fold(keyName);
    const auto it = found->keys.find(folded);
    if (it != found->keys.end()) {
        // The key keeps the spelling it has in the file.
        std::u16string& line = lines_[found->begin + it->second];
        line = std::u16string(UpToNul(Classify(line).name)) + u'=' + text;
        return;
    }
    InsertLine(sectionIndex, std::u16string(keyName) + u'=' + text);
    Section& target = sections_[sectionIndex];
    target.keys.emplace(folded, target.entryEnd - 1);
}

void IniDocument::ClearSection(std::u16string_view section) {
    const Section* found = FindSection(section);
    if (!found)
        return;
    const auto sectionIndex = static_cast<std::size_t>(found - sections_.data());
    Section& target = sections_[sectionIndex];
    // The blank lines that separate the section from the next header stay.
    std::size_t keep = target.end;
    while (keep > target.begin && Trim(lines_[keep - 1]).empty())
        --keep;
    const std::size_t removed = keep - target.begin;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(target.begin),
                 lines_.begin() + static_cast<std::ptrdiff_t>(keep));
    target.end -= removed;
    target.entryEnd = 0;
    target.keys.clear();
    for (std::size_t i = sectionIndex + 1; i < sections_.size(); ++i) {
        sections_[i].begin -= removed;
        sections_[i].end -= removed;
    }
}

} // namespace vantrel::config
