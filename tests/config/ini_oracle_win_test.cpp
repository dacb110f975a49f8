// The system's own profile functions as the oracle: files we write read the same through them, and files
// they write (or a user edits) read the same through us.

#include <gtest/gtest.h>

#include "config/ini_document.h"
#include "config/settings_files_win.h"
#include "config/settings_store.h"
#include "config/temp_folder_win.h"
#include "services/text.h"
#include "support/utf8.h"
#include "win/strings_win.h"

namespace vantrel::config {
namespace {

using namespace std::string_literals;
using testing::PutFile;
using testing::TempFolder;
using win::FromWide;
using win::WidePtr;

constexpr wchar_t kAbsent[] = L"\x7F<absent>\x7F";

std::optional<std::u16string> ProfileGet(const std::wstring& file, const std::u16string& section,
                                         const std::u16string& key) {
    std::wstring value(1 << 16, L'\0');
    const DWORD length = GetPrivateProfileStringW(WidePtr(section), WidePtr(key), kAbsent, value.data(),
                                                  static_cast<DWORD>(value.size()), file.c_str());
    value.resize(length);
    if (value == kAbsent)
        return std::nullopt;
    return FromWide(value);
}

std::string Bytes(const std::wstring& file) {
    return Win32SettingsFiles().ReadAll(FromWide(file), kMaxSettingsFileBytes).bytes;
}

IniDocument OurRead(const std::wstring& file) {
    return IniDocument::Parse(DecodeIniBytes(Bytes(file), AnsiCodePageDecoder()));
}

struct Entry {
    std::u16string section, key, value;
};

const Entry kEntries[] = {
    {u"Program", u"Title0", u"v\u65E5"},
    {u"Program", u"ArgumentName0", u"a=b;c"},
    {u"Program", u"  Spaced  ", u"value"},
    {u"Program", u"Empty", u""},
    {u"Option", u"BackColor", u"0x800000"},
    {u"Option", u"TextColor", u"$FFFFFF"},
    {u"Program", u"Quoted", u"\"C:\\Program Files\\a.exe\" \"x\""},
    {u"Program", u"Single", u"'x'"},
    {u"Program", u"Padded", u"  x  "},
    {u"\u65E5\u672C", u"\u30AD\u30FC", u"\U0001F600"},
    {u"PROGRAM", u"dup", u"set"},
};

// The lines a user may have left in the file, which every rewrite must keep.
const std::u16string kBase =
    u"; settings\r\n[Program]\r\nDup=first\r\nDup=shadowed\r\nUnknown=keep\r\n\r\n[Other]\r\nx=1\r\n";

TEST(IniOracle, FilesWeWriteReadTheSameThroughTheProfileFunctions) {
    TempFolder folder;
    const std::wstring file = folder.Path(L"ours.ini");
    IniDocument doc = IniDocument::Parse(kBase);
    for (const auto& e : kEntries)
        doc.Set(e.section, e.key, e.value);
    std::u16string reason;
    ASSERT_TRUE(Win32SettingsFiles().WriteAllAtomic(FromWide(file), EncodeUtf16LeWithBom(doc.Serialize()), &reason));

    for (const auto& e : kEntries) {
        EXPECT_EQ(ProfileGet(file, e.section, e.key), e.value) << Utf16ToUtf8(e.key);
        EXPECT_EQ(doc.Get(e.section, e.key), e.value) << Utf16ToUtf8(e.key);
    }
    for (const auto& [section, key] : {std::pair{u"Program"s, u"Unknown"s}, {u"Other"s, u"x"s}})
        EXPECT_EQ(ProfileGet(file, section, key), doc.Get(section, key));
}

TEST(IniOracle, FilesTheProfileFunctionsWriteReadTheSameThroughUs) {
    struct Case {
        const char* what;
        std::string start; // bytes of the file before the profile functions write to it; none: no file
        bool unicode;      // the file stays UTF-16LE with its byte-order mark
    };
    const Case cases[] = {
        {"fresh file (ANSI)", "", false},
        {"UTF-16LE with BOM", EncodeUtf16LeWithBom(kBase), true},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::wstring file = folder.Path(L"theirs.ini");
        if (!c.start.empty())
            PutFile(file, c.start);
        for (const auto& e : kEntries)
            WritePrivateProfileStringW(WidePtr(e.section), WidePtr(e.key), WidePtr(e.value), file.c_str());
        const IniDocument doc = OurRead(file);
        EXPECT_EQ(Bytes(file).rfind("\xFF\xFE", 0) == 0, c.unicode) << c.what;
        for (const auto& e : kEntries)
            EXPECT_EQ(doc.Get(e.section, e.key), ProfileGet(file, e.section, e.key))
                << c.what << " " << Utf16ToUtf8(e.key);
        if (c.unicode) {
            EXPECT_EQ(doc.Get(u"Program", u"Title0"), u"v\u65E5") << "kept in a Unicode file";
            EXPECT_EQ(doc.Get(u"Other", u"x"), u"1");
        }
    }
}

// Hand-edited files, odd and broken ones included, read exactly as the profile functions read them.
TEST(IniOracle, HandEditedFilesReadTheSame) {
    const auto utf16 = [](const std::u16string& text) { return EncodeUtf16LeWithBom(text); };
    const std::string cases[] = {
        utf16(u"[ Sec ]\r\nk=1\r\n[a]b]\r\nk=2\r\n  [c] tail\r\n  k  =  v w  \r\n"),
        utf16(u"k=pre\r\n[abc\r\nk2=1\r\n[s]\r\nk\r\nk=1\r\nmy key = v\r\n=e\r\n"),
        utf16(u"[s]\r\nq1='v'\r\nq2=\"v'\r\nq3=\"\r\nq4=\"\"\r\nq5= \" v \" \r\nq6=\"a\" \"b\"\r\nq7=''x''\r\n"),
        utf16(u"[s]\r\nsp1=\u3000v\u3000\r\nsp2=\x1Av\x1A\r\nsp3=\tv\v\f\r\n\u00A0sp4=x\r\n"),
        utf16(u"[s]\r\na=1\r\n[S]\r\nb=2\r\n[s]\r\nA=3\r\n;k=1\r\nk=2\r\n"),
        utf16(u"[\u00C9t\u00E9]\r\n\u03A9=1\r\n[s]\r\n\u03A9=2\r\nABC=3\r\n"),
        utf16(u"[s]\ra=1\rb=2\nc=3\r\n\n\nd=4"),
        utf16(u"[s]\r\na\0b=1\r\nc=x\0y\r\nd=\xD800\xDFFF\xDC00\r\n"s),
        // Odd length: the last byte is half a character. (Wine reads one byte past the end to make it a whole
        // one; we drop it, so the oracle only checks that it does not disturb the line before.)
        "\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\x31\0\r\0\n\0\x32"s,
        "\xEF\xBB\xBF[s]\r\na=\xC3\xA9\xE3\x81\r\nb=\xE3\x81\x82\r\nc=\xF0\x9F\x98\x80\r\nd=<"
        "\xC0\x8D\xE0\x80\x8D\xED\xA0\x80\xF4\x90\x80\x80\xF8\x88\x80\xC1\xBF\xF0\x9F\x98>\r\n",
        "[s]\r\na=\xE9\x80\x81\r\nb=1\x1A\r\n",
        "\xFE\xFF"s + "\0[\0s\0]\0\r\0\n\0a\0=\0\x31"s,
    };
    std::vector<std::pair<std::u16string, std::u16string>> queries = {{u"Sec", u"k"},
                                                                      {u"a]b", u"k"},
                                                                      {u"c", u"k"},
                                                                      {u"", u"k"},
                                                                      {u"", u"k2"},
                                                                      {u"\u00C9T\u00C9", u"\u03A9"},
                                                                      {u"\u00E9t\u00E9", u"\u03A9"},
                                                                      {u"S", u"A"}};
    for (const char16_t* key : {u"k",   u"my key", u"",    u"q1",  u"q2", u"q3", u"q4", u"q5", u"q6",     u"q7",
                                u"sp1", u"sp2",    u"sp3", u"sp4", u"a",  u"b",  u"c",  u"d",  u"\u03C9", u"abc"})
        queries.emplace_back(u"s", key);
    TempFolder folder;
    int n = 0;
    for (const auto& bytes : cases) {
        // A new name for every file: the profile functions keep recently read files in a cache.
        const std::wstring file = folder.Path(L"hand" + std::to_wstring(++n) + L".ini");
        ASSERT_TRUE(PutFile(file, bytes));
        const IniDocument doc = OurRead(file);
        for (const auto& [section, key] : queries)
            EXPECT_EQ(doc.Get(section, key), ProfileGet(file, section, key))
                << "file " << n << " [" << Utf16ToUtf8(section) << "] " << Utf16ToUtf8(key);
    }
}

} // namespace
} // namespace vantrel::config
