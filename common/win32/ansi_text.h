#pragma once
// Conversion between ANSI texts (the system's ANSI code page: the address
// book, the fax server's protocol) and wide texts. Characters the code page
// lacks become its default character.

#include <string>
#include <string_view>

#include "common/win32/wide_text.h"

namespace tolvane {

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

}  // namespace tolvane
