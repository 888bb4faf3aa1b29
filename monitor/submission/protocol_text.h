#pragma once
// Values from the user and the port settings placed into command lines. The
// server ends a command at a line feed, so a value carrying one would smuggle
// a second command in; a carriage return would be stored inside the job.

#include <string>
#include <string_view>

namespace tolvane {

// The value without CR, LF and NUL bytes.
std::string ProtocolValue(std::string_view value);

// The value for the inside of a quoted argument ("..."): as ProtocolValue, with
// backslashes and double quotes escaped so the server reads them as text.
std::string QuotedProtocolValue(std::string_view value);

// A quoted argument: the value inside double quotes, escaped as above. Blanks,
// quotes and backslashes then reach the server exactly as typed.
std::string QuotedArgument(std::string_view value);

// User text for the inside of the quoted tag line: as QuotedProtocolValue,
// with every "%" doubled, because the server runs the tag line through
// strftime before it prints it on the page.
std::string TaglineText(std::string_view value);

}  // namespace tolvane
