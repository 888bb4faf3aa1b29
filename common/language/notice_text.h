#pragma once
// The notice the Port configuration button shows when the terminal session's
// user is not the user the tool runs as. Its text comes from Language.ini and
// is a printf pattern for three texts (the session's user, the process's user,
// the process's user again), with line breaks written as the four characters
// "\r\n".

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

// Each "%s" (also "%ls", "%ws", "%S") takes the next of the three texts, "%%"
// gives "%"; every other "%" and any "%s" beyond the third stay as written, so
// a translation with a stray "%d" or one "%s" too many shows its text instead
// of reading past the three texts.
std::u16string FormatNotice(std::u16string_view pattern, const std::array<std::u16string_view, 3>& texts);

// The same for a pattern of any number of texts (the port dialog's account
// line takes two).
std::u16string FormatTextPattern(std::u16string_view pattern, std::span<const std::u16string_view> texts);

// Every literal backslash-r-backslash-n becomes a carriage return and a line feed.
std::u16string ExpandWrittenLineBreaks(std::u16string_view text);

}  // namespace tolvane
