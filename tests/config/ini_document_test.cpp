#include "config/ini_document.h"

#include <gtest/gtest.h>

#include <random>

#include "services/text.h"
#include "support/utf8.h"

namespace vantrel::config {
namespace {

using Lines = std::vector<std::u16string>;
using namespace std::string_literals;

std::u16string Decode(std::string_view bytes) {
    return DecodeIniBytes(bytes, DecodeWindows1252);
}

// The document's lines as it writes them.
Lines LinesOf(const IniDocument& doc) {
    Lines lines;
    const std::u16string text = doc.Serialize();
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(IniEncoding, DecodesByByteOrderMark) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const std::string utf8 = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
    const Case cases[] = {
        {"", u""},
        {"a=\xE9\x80\x81\x9F", u"a=\u00E9\u20AC\u0081\u0178"},
        {"a=\xC3\xA9", u"a=\u00C3\u00A9"}, // UTF-8 without a mark is ANSI
        {"\xFF", u"\u00FF"},
        {utf8, u""},
        {utf8 + "a=\xC3\xA9\xF0\x9F\x98\x80", u"a=\u00E9\U0001F600"},
        {utf8 + "a=\xE3\x81\r\nb", u"a=\uFFFD\r\nb"}, // truncated sequence
        {utf8 + "\xFF\xC0\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},
        // Overlong forms (of CR, NUL), a surrogate, past U+10FFFF: errors, never the characters they spell.
        {utf8 + "\xC0\x8D\xE0\x80\x8D\xC0\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {
            utf8 + "\xED\xA0\x80\xF4\x90\x80\x80\xF4\x8F\xBF\xBF",
            u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\U0010FFFF",
        },
        {le + "a\0=\0\x42\x30"s, u"a=\u3042"},
        {le + "a\0=\0"s + "1", u"a="}, // odd trailing byte dropped
        {le + "\x00\xD8x\0"s, u"\xD800x"},
        {be + "\0a\0=\x30\x42"s, u"a=\u3042"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.bytes), c.text) << c.bytes;
}

TEST(IniEncoding, AnsiDecoderIsAskedOnlyForUnmarkedFiles) {
    int calls = 0;
    const AnsiDecoder upper = [&](std::string_view bytes) {
        ++calls;
        return std::u16string(bytes.size(), u'X');
    };
    EXPECT_EQ(DecodeIniBytes("ab", upper), u"XX");
    EXPECT_EQ(DecodeIniBytes("\xEF\xBB\xBF"
                             "ab",
                             upper),
              u"ab");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(DecodeIniBytes("\x80", AnsiDecoder()), u"\u20AC") << "no decoder: Windows-1252";
}

TEST(IniEncoding, Utf16LeKeepsEveryCodeUnit) {
    const std::u16string text = u"[s]\r\nk=\U0001F600\xDC00\xD800\0\uFFFF"s;
    const std::string bytes = EncodeUtf16LeWithBom(text);
    EXPECT_EQ(bytes.substr(0, 4), "\xFF\xFE[\0"s);
    EXPECT_EQ(bytes.size(), 2 + 2 * text.size());
    EXPECT_EQ(Decode(bytes), text);
}

TEST(IniDocument, SplitsAtEveryLineEndAndWritesCrLf) {
    struct Case {
        std::u16string text;
        Lines lines;
    };
    const Case cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\n", {u"a"}},
        {u"a\nb\rc\r\nd", {u"a", u"b", u"c", u"d"}},
        {u"a\r\r\n\nb\n\r", {u"a", u"", u"", u"b", u""}},
        {u"\r\n", {u""}},
    };
    for (const auto& c : cases) {
        const IniDocument doc = IniDocument::Parse(c.text);
        EXPECT_EQ(LinesOf(doc), c.lines) << Utf16ToUtf8(c.text);
        std::u16string joined;
        for (const auto& line : c.lines)
            joined += line + u"\r\n";
        EXPECT_EQ(doc.Serialize(), joined);
    }
}

// The answers the system's GetPrivateProfileStringW gives for the same text (checked under Wine).
TEST(IniDocument, GetReadsAsTheProfileFunctions) {
    struct Case {
        std::u16string text;
        std::u16string section, key;
        std::optional<std::u16string> value;
    };
    const auto none = std::nullopt;
    const Case cases[] = {
        {u"[Option]\r\nColMax=9", u"option", u"COLMAX", u"9"},
        {u"[s]\r\n  k  =  v w  \r\n", u" s ", u"\tk ", u"v w"},
        {u"[ s ]\r\nk=1", u"s", u"k", u"1"},
        {u"  [s] tail\r\nk=1", u"s", u"k", u"1"},
        {u"[a]b]\r\nk=1", u"a]b", u"k", u"1"},
        {u"[s]\r\nk=\"v\"", u"s", u"k", u"v"},
        {u"[s]\r\nk='v'", u"s", u"k", u"v"},
        {u"[s]\r\nk=\"v'", u"s", u"k", u"\"v'"},
        {u"[s]\r\nk=\"", u"s", u"k", u"\""},
        {u"[s]\r\nk=\"\"", u"s", u"k", u""},
        {u"[s]\r\nk= \" v \" ", u"s", u"k", u" v "},
        {u"[s]\r\nk=\"a\" \"b\"", u"s", u"k", u"a\" \"b"},
        {u"[s]\r\nk=a=b;c", u"s", u"k", u"a=b;c"},
        {u"[s]\r\nk=", u"s", u"k", u""},
        {u"[s]\r\nk=\u3000v\u00A0", u"s", u"k", u"\u3000v\u00A0"},
        {u"[s]\r\nk=\x1Av\v\f", u"s", u"k", u"v"},
        {u"[s]\r\nk=1\r\nK=2", u"s", u"k", u"1"},
        {u"[s]\r\nk\r\nk=1", u"s", u"k", none},
        {u"[s]\r\n=e", u"s", u"", u"e"},
        {u"[s]\r\nmy key = v", u"s", u"my key", u"v"},
        {u"[s]\r\na=1\r\n[S]\r\nb=2", u"s", u"b", none},
        {u"[s]\r\n;k=1", u"s", u";k", none},
        {u"[s]\r\n;k=1\r\nk=2", u"s", u"k", u"2"},
        {u"k0=pre\r\n[s]", u"", u"k0", u"pre"},
        {u"[abc\r\nk=1", u"", u"k", u"1"},
        {u"[\u00C9]\r\nk=1", u"\u00E9", u"k", none},
        {u"[s]\r\n\u03A9=1", u"s", u"\u03C9", none},
        {u"[s]\r\n\u03A9=1", u"s", u"\u03A9", u"1"},
        {u"[s]\r\na\0b=1"s, u"s", u"a", u"1"},
        {u"[s]\r\nc=x\0y"s, u"s", u"c", u"x"},
        {u"[s]\r\nk=x\xD800y", u"s", u"k", u"x\xD800y"},
        {u"[s]", u"t", u"k", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniDocument::Parse(c.text).Get(c.section, c.key), c.value)
            << Utf16ToUtf8(c.text) << " / " << Utf16ToUtf8(c.key);
}

TEST(IniDocument, SetKeepsEverythingItDoesNotChange) {
    IniDocument doc =
        IniDocument::Parse(u"; top\r\n[s]\r\n; c\r\nA = 1 \r\nk\r\n; tail\r\n\r\n[S]\r\nb=1\r\n[t]\r\nx=1");
    doc.Set(u"s", u"a", u"2"); // existing key keeps its spelling, spaces normalised
    doc.Set(u"s", u"K", u"3"); // a key without '=' gets its value
    doc.Set(u"S", u"n", u"4"); // new key after the last entry of the first [s]
    doc.Set(u"u", u"m", u"5"); // new section at the end
    doc.Set(u"", u"p", u"6");  // lines before the first header
    const Lines expected = {u"p=6", u"; top", u"[s]", u"; c", u"A=2", u"k=3", u"n=4", u"; tail",
                            u"",    u"[S]",   u"b=1", u"[t]", u"x=1", u"[u]", u"m=5"};
    EXPECT_EQ(LinesOf(doc), expected);
    EXPECT_EQ(doc.Get(u"s", u"n"), u"4");
    EXPECT_EQ(doc.Get(u"t", u"x"), u"1");
    EXPECT_EQ(doc.Get(u"U", u"M"), u"5");
}

TEST(IniDocument, SetValuesReadBackUnchanged) {
    struct Case {
        std::u16string value, line, readBack;
    };
    const Case cases[] = {
        {u"plain", u"k=plain", u"plain"},
        {u"", u"k=", u""},
        {u"a=b;c", u"k=a=b;c", u"a=b;c"},
        {u"\"C:\\My Docs\\a.txt\"", u"k=\"\"C:\\My Docs\\a.txt\"\"", u"\"C:\\My Docs\\a.txt\""},
        {u"\"a\" \"b\"", u"k=\"\"a\" \"b\"\"", u"\"a\" \"b\""},
        {u"'x'", u"k=\"'x'\"", u"'x'"},
        {u"\"", u"k=\"", u"\""},
        {u"  padded\t", u"k=\"  padded\t\"", u"  padded\t"},
        {u"v\u3042\U0001F600", u"k=v\u3042\U0001F600", u"v\u3042\U0001F600"},
        // Line breaks cannot be stored: each becomes one space. NULs go.
        {u"a\r\nb\nc\rd", u"k=a b c d", u"a b c d"},
        {u"x\0y"s, u"k=xy", u"xy"},
        {u"\n", u"k=\" \"", u" "},
    };
    for (const auto& c : cases) {
        IniDocument doc;
        doc.Set(u"s", u"k", c.value);
        ASSERT_EQ(LinesOf(doc).size(), 2u);
        EXPECT_EQ(LinesOf(doc)[1], c.line);
        EXPECT_EQ(doc.Get(u"s", u"k"), c.readBack);
        EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get(u"s", u"k"), c.readBack);
    }
}

TEST(IniDocument, RefusesNamesThatCannotBeStored) {
    const std::u16string keys[] = {u"", u"  ", u"a=b", u";c", u"[x]", u"a\r\nb=1", u"a\0b"s};
    for (const auto& key : keys) {
        IniDocument doc = IniDocument::Parse(u"[s]\r\nk=1");
        doc.Set(u"s", key, u"v");
        EXPECT_EQ(doc.Serialize(), u"[s]\r\nk=1\r\n") << Utf16ToUtf8(key);
    }
    IniDocument doc;
    doc.Set(u"a]\r\n[b", u"k", u"v");
    EXPECT_TRUE(LinesOf(doc).empty());
    doc.Set(u" x]y ", u" k ", u"v");
    EXPECT_EQ(LinesOf(doc), (Lines{u"[x]y]", u"k=v"}));
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get(u"x]y", u"k"), u"v");
}

TEST(IniDocument, ClearSectionKeepsHeaderAndSeparatorLines) {
    IniDocument doc = IniDocument::Parse(u"[p]\r\nTitle0=a\r\n; c\r\nTitle1=b\r\n\r\n[q]\r\nx=1\r\n[P]\r\nTitle0=z");
    doc.ClearSection(u"P");
    EXPECT_EQ(doc.Get(u"p", u"Title0"), std::nullopt) << "the second [P] is never searched";
    doc.Set(u"p", u"Title0", u"new");
    doc.ClearSection(u"missing");
    EXPECT_EQ(LinesOf(doc), (Lines{u"[p]", u"Title0=new", u"", u"[q]", u"x=1", u"[P]", u"Title0=z"}));
    EXPECT_EQ(doc.Get(u"q", u"x"), u"1");

    IniDocument preamble = IniDocument::Parse(u"a=1\r\n[s]\r\nb=2");
    preamble.ClearSection(u"");
    EXPECT_EQ(LinesOf(preamble), (Lines{u"[s]", u"b=2"}));
    EXPECT_EQ(preamble.Get(u"s", u"b"), u"2");
}

// After any mix of edits the document answers exactly as the same text parsed afresh.
TEST(IniDocument, EditedDocumentAnswersAsItsReparsedText) {
    std::mt19937 random(20240611);
    const std::u16string sections[] = {u"", u"a", u"B", u"c", u"A"};
    const std::u16string keys[] = {u"k", u"K", u"x1", u"Title0", u"y"};
    IniDocument doc = IniDocument::Parse(u"k=0\r\n[a]\r\n; c\r\nk=1\r\n\r\n[b]\r\nk\r\n[A]\r\nk=2\r\n[c]");
    for (int step = 0; step < 2000; ++step) {
        const auto& section = sections[random() % 5];
        if (random() % 10 == 0)
            doc.ClearSection(section);
        else
            doc.Set(section, keys[random() % 5], DecimalText(step));
        if (step % 50 != 0)
            continue;
        const IniDocument fresh = IniDocument::Parse(doc.Serialize());
        ASSERT_EQ(LinesOf(fresh), LinesOf(doc));
        for (const auto& s : sections)
            for (const auto& k : keys)
                ASSERT_EQ(doc.Get(s, k), fresh.Get(s, k)) << step << " " << Utf16ToUtf8(s) << Utf16ToUtf8(k);
    }
}

TEST(IniDocument, HostileFilesParse) {
    std::string garbage;
    std::mt19937 random(7);
    for (int i = 0; i < 1 << 16; ++i)
        garbage.push_back(static_cast<char>(random()));
    const std::string longLine = "[s]\r\nk=" + std::string(1 << 20, 'v') + "\r\nz=1";
    for (const std::string& bytes : {garbage, longLine}) {
        for (const std::string& prefix : {""s, "\xFF\xFE"s, "\xFE\xFF"s, "\xEF\xBB\xBF"s}) {
            const IniDocument doc = IniDocument::Parse(Decode(prefix + bytes));
            EXPECT_EQ(LinesOf(IniDocument::Parse(doc.Serialize())), LinesOf(doc));
        }
    }
    const IniDocument wide = IniDocument::Parse(Decode(longLine));
    EXPECT_EQ(wide.Get(u"s", u"k")->size(), 1u << 20);
    EXPECT_EQ(wide.Get(u"s", u"z"), u"1");

    // Ten megabytes of keys and repeated sections with every kind of line end.
    std::string big = "[s]\r\n";
    for (int i = 0; big.size() < 10u << 20; ++i)
        big += "Key" + std::to_string(i % 5000) + "=value " + std::to_string(i) + std::string(i % 400, ' ') + "\r\n[x" +
               std::to_string(i % 300) + "]\n\r";
    big += "[last]\r\nk=end";
    const IniDocument huge = IniDocument::Parse(Decode(big));
    EXPECT_EQ(huge.Get(u"last", u"K"), u"end");
    EXPECT_EQ(huge.Get(u"X0", u"key1"), u"value 1");
    EXPECT_EQ(huge.Get(u"x0", u"key301"), std::nullopt) << "only the first [x0] is searched";
}

} // namespace
} // namespace vantrel::config
