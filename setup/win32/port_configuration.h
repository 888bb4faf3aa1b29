#pragma once
// Where Ruddset's Port configuration button and a successful install of the
// "Tolvane" printer lead: the port monitor's own dialog, through the spooler.
// (Ruddock opens its port dialogs, build_variant.h.)

#include "setup/win32/windows_api.h"

#include <string_view>

namespace tolvane {

// ConfigurePortW on the local machine, no owner window, for the port the
// install creates: "F" on 32-bit Windows, "P" otherwise. The monitor's answer
// is not looked at.
void ConfigureMonitorPort(int bitness);

// Whether HKEY_LOCAL_MACHINE holds the monitor's ports key (readable).
bool PortsKeyExists();

}  // namespace tolvane
