#pragma once
// Small text helpers for UTF-16 values that travel as decimal text.

#include <string>
#include <string_view>

namespace tolvane {

// The integer at the start of a text, as the C library's atoi reads it: leading
// white space, an optional sign and the leading decimal digits; 0 when there are
// none. Values beyond the int range saturate.
int ParseLeadingInt(std::u16string_view text);

// "%d" of a number.
std::u16string FormatDecimal(int number);

// UTF-16 text narrowed for logs and test messages: non-ASCII units become '?'.
std::string NarrowForLog(std::u16string_view text);

}  // namespace tolvane
