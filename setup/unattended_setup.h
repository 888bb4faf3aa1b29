#pragma once
// The work of an unattended command line: the install or removal of one
// printer with the entries the main dialog writes around it ("Tolvane Install
// Starting..." to "Tolvane Install Success!"), then the command's port
// settings, written through the store into the installed port.
//
// What comes before belongs to the program's shell: the administrator test,
// the copy into the install folder and the Start-menu shortcut, the log file.

#include "common/port_settings/port_settings_store.h"
#include "setup/command_line.h"
#include "setup/setup_platform.h"
#include "setup/setup_variant.h"

namespace tolvane {

// The exit code: kExitSuccess when the install or removal succeeded and every
// setting was written, kExitFailure otherwise (kExitUsage for a command
// without an action). Each setting leaves an entry "Set Tolvane Port NAME
// Success!" or "... Failed!" after the install's own; values are not logged,
// since one of them is the fax server's password.
int RunUnattended(const UnattendedCommand& command, SetupMachine& machine, const SetupVariant& variant,
                  PortSettingsStore& settings);

}  // namespace tolvane
