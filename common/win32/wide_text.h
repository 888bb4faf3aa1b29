#pragma once
// UTF-16 between the portable code and Windows: the portable code keeps
// UTF-16 as char16_t (std::u16string), Windows as wchar_t, which is 16 bits
// there. The one home of these conversions.

#include <string>
#include <string_view>

namespace tolvane {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16 units");

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// A text Windows handed over that may be null (an empty text then).
inline std::u16string ToU16(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// The same units seen as a wide string, for a call that only reads them.
inline const wchar_t* AsWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace tolvane
