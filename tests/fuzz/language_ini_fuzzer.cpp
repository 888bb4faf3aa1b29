// Language.ini lies beside the setup tool, edited by translators in any
// editor. The input is read twice: as the file itself (UTF-16LE, UTF-8 or
// bytes, whatever it holds), where the section list and every text must keep
// their limits; and as the fields of a file written from it (a section or a
// key, and its value, per field pair), where every key the file holds in the
// first section of its name must be found again, in any letter case.
#include <map>
#include <set>
#include <string>

#include "common/language/language_ini.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

std::u16string Folded(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return folded;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

// What a line can carry as a name or a value: no line break, none of the
// characters that make a line a header, an assignment or a comment, no quotes
// (one pair around a value is dropped), no blanks at the ends.
std::u16string Clean(std::u16string text) {
    std::u16string clean;
    for (char16_t c : text)
        if (c != u'\r' && c != u'\n' && c != u'[' && c != u']' && c != u'=' && c != u';' && c != u'"' && c != u'\'' &&
            c != 0)
            clean.push_back(c);
    while (!clean.empty() && IsBlank(clean.front())) clean.erase(clean.begin());
    while (!clean.empty() && IsBlank(clean.back())) clean.pop_back();
    return clean;
}

void CheckTheFileAsItComes(std::string_view bytes) {
    LanguageIni ini;
    Require(ini.SetFile(u"D:\\Release\\Language.ini", bytes) == 0, "a file of any content is taken");
    std::set<std::u16string> listed;
    for (const std::u16string& section : ini.Document().SectionNames()) {
        Require(listed.insert(Folded(section)).second, "each section is listed once");
        if (ini.SetSection(section) != 0) {
            Require(section.size() > kLanguageTextMaxChars, "only an overlong section name is refused");
            continue;
        }
        const std::u16string language = ini.Read(u"LANGUAGE");
        Require(language.size() <= kLanguageTextMaxChars, "a text keeps its limit");
        Require(ini.Read(u"LANGUAGE") == language, "a lookup answers the same twice");
    }
}

void CheckEveryKeyIsFoundAgain(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::u16string file;
    std::map<std::u16string, std::map<std::u16string, std::u16string>> expected;  // folded names
    std::set<std::u16string> sections;
    std::u16string current;
    bool inFirstOccurrence = false;
    for (int fields = 0; !input.Empty() && fields < 64; ++fields) {
        const bool header = (input.Byte() & 1) != 0 || current.empty();
        const std::u16string name = Clean(Utf16FromBytes(input.Field()));
        if (name.empty()) continue;
        if (header) {
            current = name;
            inFirstOccurrence = sections.insert(Folded(name)).second;
            file += u"[" + name + u"]\r\n";
            continue;
        }
        const std::u16string value = Clean(Utf16FromBytes(input.Field()));
        file += name + u" = " + value + u"\r\n";
        // The first section of a name is the one looked in, the first key there wins.
        if (inFirstOccurrence) expected[Folded(current)].try_emplace(Folded(name), value);
    }

    LanguageIni ini;
    ini.SetFile(u"Language.ini", EncodeUtf16Le(file));
    Require(ini.Document().SectionNames().size() == sections.size(), "every section is listed");
    for (const auto& [section, keys] : expected) {
        if (ini.SetSection(section) != 0) continue;
        for (const auto& [key, value] : keys) {
            const std::u16string found = ini.Read(key);
            if (value.size() <= kLanguageTextMaxChars) {
                Require(found == value, "a key the file holds is found with its value");
            } else {
                Require(found.size() >= kLanguageTextMaxChars - 1 && value.compare(0, found.size(), found) == 0,
                        "a long value is cut to its limit");
            }
        }
    }
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::CheckTheFileAsItComes(std::string_view(reinterpret_cast<const char*>(data), size));
    tolvane::fuzz::CheckEveryKeyIsFoundAgain(data, size);
    return 0;
}
