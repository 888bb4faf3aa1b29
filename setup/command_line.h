#pragma once
// The unattended command line of Ruddock.exe, for administrators who roll the
// fax printers out to many machines:
//
//   Ruddock.exe /install tolvane|quillon   install a printer
//   Ruddock.exe /uninstall tolvane|quillon remove it
//   /quiet                                 no window and no message box
//   /log FILE                              the entries, in the Setup.log format
//   /set NAME=VALUE                        a port setting of the installed port
//                                          (repeatable; tolvane only)
//
// Options are case-insensitive and may also start with "-". Without any
// argument the program is the dialog.

#include <string>
#include <utility>
#include <vector>

namespace tolvane {

enum class UnattendedAction { kNone, kInstall, kUninstall };
enum class PrinterKind { kTolvane = 0, kQuillon = 1 };

struct UnattendedCommand {
    UnattendedAction action = UnattendedAction::kNone;
    PrinterKind printer = PrinterKind::kTolvane;
    bool quiet = false;
    std::u16string logFile;                                           // empty: no log
    std::vector<std::pair<std::u16string, std::u16string>> settings;  // name, value in order
};

// Exit codes of an unattended run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CommandLineResult {
    bool ok = false;
    UnattendedCommand command;
    std::u16string error;  // why the line was refused, for the usage text
};

// `arguments` without the program name. An empty list gives action kNone.
// Refused: an unknown option, a missing or unknown printer, an option without
// its value, both or neither of /install and /uninstall when other options are
// given, /set with no "=" or an empty name, a name that is not a port setting,
// /set with quillon or with /uninstall, a bare word, /install or /uninstall or
// /log given twice, and a value the setting cannot hold: a check box takes "0"
// or "1", a list its code (0 for the first entry) or an entry's text (digits
// are always the code), a text at most 1023 characters. An empty value is
// kept: written, it removes the setting, so the default applies. Settings keep
// the canonical spelling of their names (`value::kServer` ...) and the value
// as it is stored; a list's text becomes its code. An option's value is the
// next argument unless that is an option itself.
CommandLineResult ParseCommandLine(const std::vector<std::u16string>& arguments);

// The usage text shown for a refused line.
std::u16string UsageText(std::u16string_view programName);

}  // namespace tolvane
