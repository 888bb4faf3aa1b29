#pragma once
// The parameter text that hands the fax file's path to a started program as
// exactly one argument. A program of its own (.exe, .com) splits its command
// line by the C runtime's rules: blanks outside double quotes separate
// arguments, and backslashes just before a quote escape it. A batch file is
// run by the command interpreter, which also runs "&", "|", "<", ">" and "^"
// outside double quotes as commands, and expands "%name%" anywhere, inside
// quotes too, so that a variable's value could end the quotes early. Which
// text turns "%" back into itself differs between interpreters (the one of
// Windows and the one of Wine disagree), so no "%" is passed to one.

#include <optional>
#include <string>

namespace tolvane {

// Whether the shell starts `program` as a program of its own, by its
// extension. Windows drops trailing blanks and dots of a file name, so
// "after.exe." is one too; a name without an extension may be completed to a
// batch file by the shell, so it is not.
bool StartsWithoutInterpreter(const std::string& program);

// The path in double quotes, as one argument for `program`; nothing when the
// path holds a double quote or a control character (neither can be part of a
// Windows file name), or "%" and `program` may be run by the interpreter.
std::optional<std::string> PathParameter(const std::string& path, const std::string& program);

}  // namespace tolvane
