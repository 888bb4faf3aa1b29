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
// /set with quillon or with /uninstall.
CommandLineResult ParseCommandLine(const std::vector<std::u16string>& arguments);

// The usage text shown for a refused line.
std::u16string UsageText(std::u16string_view programName);

}  // namespace tolvane
