// Settings files as a user or a broken disk may leave them, then edits on top.
//
// Input: a few edit operations, then the file's bytes. Checked after parsing and after every edit:
//  - the text we would write parses back to the same lines, and its bytes decode back to the same text;
//  - every lookup agrees with a plain top-to-bottom scan of the lines (the index is never stale);
//  - a value that was Set reads back unchanged, except that line breaks become spaces and NULs are
//    dropped (a line cannot hold them); a name that cannot be stored leaves the document unchanged;
//  - Set and ClearSection change no other key's answer, and a cleared section has no keys left.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/ini_document.h"
#include "services/text.h"

namespace {

using vantrel::config::IniDocument;
using Query = std::pair<std::u16string, std::u16string>;
using Answers = std::map<Query, std::optional<std::u16string>>;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A;
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::u16string Fold(std::u16string_view name) {
    name = Trim(name);
    return vantrel::AsciiLower(name.substr(0, name.find(u'\0')));
}

// The reading rules in their plainest form: walk the lines until the first section of that name ends.
std::optional<std::u16string> ScanGet(const std::vector<std::u16string>& lines, std::u16string_view section,
                                      std::u16string_view key) {
    const std::u16string wantSection = Fold(section);
    const std::u16string wantKey = Fold(key);
    bool inside = wantSection.empty();
    bool seen = inside;
    for (const auto& line : lines) {
        const std::u16string_view text = Trim(line);
        if (text.empty() || text.front() == u';')
            continue;
        if (text.front() == u'[' && text.find(u']') != std::u16string_view::npos) {
            if (inside)
                return std::nullopt;
            if (!seen && Fold(text.substr(1, text.rfind(u']') - 1)) == wantSection)
                inside = seen = true;
            continue;
        }
        if (!inside)
            continue;
        const std::size_t equals = text.find(u'=');
        if (Fold(text.substr(0, equals)) != wantKey)
            continue;
        if (equals == std::u16string_view::npos)
            return std::nullopt;
        std::u16string_view value = Trim(text.substr(equals + 1));
        value = value.substr(0, value.find(u'\0'));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::u16string(value);
    }
    return std::nullopt;
}

// Names and values drawn from the characters that matter to the format, plus a few non-ASCII ones.
std::u16string TakeText(FuzzedDataProvider& input) {
    static constexpr char16_t kAlphabet[] = {u'a',  u'B', u'k', u'K',   u'0',   u' ',   u'\t',  0x1A,
                                             u'=',  u';', u'[', u']',   u'"',   u'\'',  u'\r',  u'\n',
                                             u'\0', 0xE9, 0xC9, 0x3042, 0x3000, 0xD800, 0xDC00, u'x'};
    std::u16string text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 8);
    for (std::size_t i = 0; i < length; ++i)
        text.push_back(kAlphabet[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kAlphabet) - 1)]);
    return text;
}

bool StorableKey(std::u16string_view key) {
    key = Trim(key);
    return !key.empty() && key.front() != u';' && key.front() != u'[' &&
           key.find_first_of(std::u16string_view(u"=\r\n\0", 4)) == std::u16string_view::npos;
}

bool StorableSection(std::u16string_view section) {
    return Trim(section).find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string_view::npos;
}

std::u16string ExpectedValue(std::u16string_view value) {
    std::u16string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == u'\0' || (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n'))
            continue;
        out.push_back(value[i] == u'\r' || value[i] == u'\n' ? u' ' : value[i]);
    }
    return out;
}

Answers Ask(const IniDocument& doc, const std::vector<Query>& queries) {
    Answers answers;
    for (const auto& q : queries)
        answers[{Fold(q.first), Fold(q.second)}] = doc.Get(q.first, q.second);
    return answers;
}

// The document's lines as it writes them.
std::vector<std::u16string> LinesOf(const IniDocument& doc) {
    std::vector<std::u16string> lines;
    const std::u16string text = doc.Serialize();
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::size_t HeaderCount(const IniDocument& doc) {
    std::size_t count = 0;
    for (const auto& line : LinesOf(doc)) {
        const std::u16string_view text = Trim(line);
        count += !text.empty() && text.front() == u'[' && text.find(u']') != std::u16string_view::npos;
    }
    return count;
}

void CheckWhole(const IniDocument& doc, const std::vector<Query>& queries) {
    const std::vector<std::u16string> lines = LinesOf(doc);
    for (const auto& line : lines)
        Check(line.find_first_of(u"\r\n") == std::u16string::npos, "a line holds a line break");
    const std::u16string text = doc.Serialize();
    const IniDocument again = IniDocument::Parse(text);
    Check(LinesOf(again) == lines, "serialised text parses to other lines");
    Check(vantrel::config::DecodeIniBytes(vantrel::config::EncodeUtf16LeWithBom(text), nullptr) == text,
          "UTF-16 bytes decode to other text");
    for (const auto& [section, key] : queries) {
        const auto answer = doc.Get(section, key);
        Check(answer == ScanGet(lines, section, key), "indexed lookup differs from a scan");
        Check(answer == again.Get(section, key), "lookup differs after a round trip");
    }
}

// Every section and key name in the document, capped so one input stays fast.
std::vector<Query> NamesIn(const IniDocument& doc) {
    std::vector<Query> queries{{u"", u"k"}};
    std::u16string section;
    for (const auto& line : LinesOf(doc)) {
        if (queries.size() >= 32)
            break;
        const std::u16string_view text = Trim(line);
        if (!text.empty() && text.front() == u'[' && text.find(u']') != std::u16string_view::npos)
            section = std::u16string(text.substr(1, text.rfind(u']') - 1));
        else if (!text.empty())
            queries.emplace_back(section, std::u16string(text.substr(0, text.find(u'='))));
    }
    return queries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    struct Edit {
        bool clear;
        std::u16string section, key, value;
    };
    std::vector<Edit> edits(input.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (auto& edit : edits) {
        edit.clear = input.ConsumeIntegralInRange<int>(0, 4) == 0;
        edit.section = TakeText(input);
        edit.key = TakeText(input);
        edit.value = TakeText(input);
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    IniDocument doc = IniDocument::Parse(vantrel::config::DecodeIniBytes(bytes, vantrel::config::DecodeWindows1252));
    std::vector<Query> queries = NamesIn(doc);
    for (const auto& edit : edits)
        queries.emplace_back(edit.section, edit.key);
    CheckWhole(doc, queries);

    for (const auto& edit : edits) {
        const Answers before = Ask(doc, queries);
        const std::vector<std::u16string> linesBefore = LinesOf(doc);
        const Query touched{Fold(edit.section), Fold(edit.key)};
        if (edit.clear) {
            const std::size_t headers = HeaderCount(doc);
            doc.ClearSection(edit.section);
            Check(HeaderCount(doc) == headers, "clearing a section removed or added one");
            for (const auto& [query, answer] : Ask(doc, queries))
                Check(query.first == Fold(edit.section) ? !answer : answer == before.at(query),
                      "clearing a section changed another or left a key");
        } else {
            doc.Set(edit.section, edit.key, edit.value);
            if (!StorableKey(edit.key) || !StorableSection(edit.section)) {
                Check(LinesOf(doc) == linesBefore, "a name that cannot be stored changed the document");
            } else {
                Check(doc.Get(edit.section, edit.key) == ExpectedValue(edit.value), "a value did not read back");
                for (const auto& [query, answer] : Ask(doc, queries))
                    Check(query == touched || answer == before.at(query), "setting a key changed another");
            }
        }
        CheckWhole(doc, queries);
    }
    return 0;
}
