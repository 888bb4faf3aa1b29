#pragma once
// Language.ini, the setup tool's texts: one section per language, whose
// "LANGUAGE" key is the name the language list shows, and one key per text.
// The file is UTF-16LE with its byte-order mark (so it reads right on every
// code page); one with the UTF-8 mark is read as UTF-8, and a file without a
// mark as bytes of the ASCII range (any other byte, a character of some code
// page, reads as U+FFFD).
//
// Lookups follow the profile API the tool was written against: section and key
// names compare without case (A to Z), the first of repeated keys wins and a
// repeated section's keys are never found (the first section of a name is the
// one looked in), a value is trimmed of surrounding blanks and of one pair of
// surrounding quotes, lines starting with ";" are comments, and a missing
// file, section or key gives "NOVALUE".

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

inline constexpr std::u16string_view kNoValue = u"NOVALUE";

// Longest path, section name and value the tool keeps (512 wide characters
// with the terminator).
inline constexpr std::size_t kLanguageTextMaxChars = 511;

// A parsed ini file.
class IniDocument {
public:
    // Parses the file's bytes. Never fails: lines that are neither a section
    // header nor a key=value pair are skipped.
    static IniDocument Parse(std::string_view bytes);

    // Section names in file order, each once.
    const std::vector<std::u16string>& SectionNames() const { return order_; }
    // The key's value, or nullptr when the section or key is missing.
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;

private:
    std::vector<std::u16string> order_;
    // Upper-cased section name -> upper-cased key -> value.
    std::map<std::u16string, std::map<std::u16string, std::u16string>> sections_;
};

// The tool's reader: a file and a current section.
class LanguageIni {
public:
    // A text of 512 or more characters, or a null view (data() == nullptr), is
    // refused with -1 and the old value stays; else 0. `bytes` is the file's
    // content (empty when it is missing).
    int SetFile(std::u16string_view path, std::string_view bytes);
    int SetSection(std::u16string_view name);

    // The key's value in the current section, cut to 511 characters (never
    // inside a surrogate pair), or "NOVALUE" (also for a null key).
    std::u16string Read(std::u16string_view key) const;

    const std::u16string& Path() const { return path_; }
    const std::u16string& Section() const { return section_; }
    const IniDocument& Document() const { return document_; }

private:
    std::u16string path_;
    std::u16string section_;
    IniDocument document_;
};

// The text cut to `limit` UTF-16 units, never inside a surrogate pair.
std::u16string CutText(const std::u16string& text, std::size_t limit);

// A UTF-16 text written as the file bytes Language.ini and Setting.ini use:
// the byte-order mark, then UTF-16LE.
std::string EncodeUtf16Le(std::u16string_view text);

}  // namespace tolvane
