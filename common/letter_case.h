#pragma once
// Letter case as the setup tool's and the port dialogs' names compare: option
// words, printer words, port names, port value names and ini section and key
// names are ASCII, so only A to Z and a to z are folded; every other character
// compares as it is.

#include <string>
#include <string_view>

namespace tolvane {

inline char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

inline std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) c = AsciiUpper(c);
    return upper;
}

inline bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

}  // namespace tolvane
