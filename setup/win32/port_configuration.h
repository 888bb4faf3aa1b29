#pragma once
// Where the Port configuration button and a successful install of the
// "Tolvane" printer lead. Ruddock's own port dialogs are not in this build yet:
// it says so in a box that names the registry key the ports' settings live in.
// Ruddset opens the port monitor's own dialog through the spooler.

#include "setup/win32/windows_api.h"

#include <string_view>

namespace tolvane {

// The box that stands in for Ruddock's port dialogs.
void ShowPortDialogPlaceholder(HWND owner, std::u16string_view programName);

// ConfigurePortW on the local machine, no owner window, for the port the
// install creates: "F" on 32-bit Windows, "P" otherwise. The monitor's answer
// is not looked at.
void ConfigureMonitorPort(int bitness);

// Whether HKEY_LOCAL_MACHINE holds the monitor's ports key (readable).
bool PortsKeyExists();

}  // namespace tolvane
