#pragma once
// The settings file as a document: every line is kept (unknown sections, keys, comments, order), lookups
// follow the rules of the system's private-profile functions, and writes touch only what they change.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel::config {

// Turns bytes in the system's ANSI code page into UTF-16. The Win32 adapter passes the real code page;
// tests pass a fixed table.
using AnsiDecoder = std::function<std::u16string(std::string_view)>;

// Windows-1252, the code page of the machines we test on; used where no system answer is available.
std::u16string DecodeWindows1252(std::string_view bytes);

// Detects the encoding by its byte-order mark (UTF-8, UTF-16LE, or UTF-16BE, which the profile functions of
// some systems accept and we never write; none: ANSI) and decodes the whole file. Never fails: malformed
// sequences become U+FFFD, an odd trailing byte of UTF-16 is dropped.
std::u16string DecodeIniBytes(std::string_view bytes, const AnsiDecoder& ansi);

// UTF-16LE with a byte-order mark: the form we always write.
std::string EncodeUtf16LeWithBom(std::u16string_view text);

class IniDocument {
public:
    IniDocument() = default;
    static IniDocument Parse(std::u16string_view text);

    // Lines joined with CRLF, ending in CRLF when there is at least one line.
    std::u16string Serialize() const;

    // Value of key in section, as the profile functions read it: names compared without regard to case,
    // spaces around key and value dropped, one pair of matching quotes around the value stripped, only the
    // first of two same-named sections searched, the first of duplicate keys wins. nullopt when absent.
    std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;

    // Replaces the value of the key's first line, or appends "key=value" at the end of the section's
    // entries, or appends a new section at the end of the document. The value is stored so that Get (and
    // the profile functions) read it back unchanged: it gets an extra pair of quotes when it has spaces at
    // either end or is itself quoted. Line breaks cannot be stored (each becomes one space) and NULs are
    // dropped. A key that cannot be stored (empty, containing '=' or a line break, starting with ';' or
    // '['), or a section name with a line break, leaves the document unchanged.
    void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // Removes the entries and comments of the first section of that name (its header and the blank lines
    // that end it stay, so the section keeps its place in the file). No effect when there is no such
    // section. The lines before the first section header form a section with the empty name.
    void ClearSection(std::u16string_view section);

private:
    // Where each section's lines are, and the first line of each key in it, so that a lookup costs one
    // hash and a document of thousands of keys is read without re-scanning.
    struct Section {
        std::size_t begin = 0;    // first line after the header (0 for the lines before any header)
        std::size_t end = 0;      // one past the section's last line
        std::size_t entryEnd = 0; // offset from begin one past the last entry; new keys go there
        std::unordered_map<std::u16string, std::size_t> keys; // folded name -> offset from begin
    };

    const Section* FindSection(std::u16string_view section) const;
    void InsertLine(std::size_t sectionIndex, std::u16string line);
    void AddLine(std::u16string line);

    std::vector<std::u16string> lines_;
    std::vector<Section> sections_{Section{}};
    std::unordered_map<std::u16string, std::size_t> sectionIndex_; // folded name -> first section
};

} // namespace vantrel::config
