#pragma once
// How the port asks the user for the recipients and where it shows the
// confirmation: the port's SysMode for the 32-bit build; the 64-bit build
// always asks through Korrim.exe, since a 64-bit spooler has no desktop of the
// user's to show a form on.

#include <string_view>

#include "monitor/print_path/korrim_path.h"

namespace tolvane {

enum class DialogRoute {
    // "1": Korrim.exe in the console session over the pipe; the confirmation
    // travels over the pipe and Korrim.exe shows it.
    kDialogProgram,
    // "2": the form through Korrim.exe as with "1", which is told not to wait
    // for a confirmation; the monitor shows the confirmation itself.
    kDialogProgramMonitorConfirms,
    // Anything else ("0"): the monitor shows the form in its own process and
    // the confirmation in its own message box.
    kInProcessForm,
};

DialogRoute ChooseDialogRoute(MonitorBitness bitness, std::u16string_view sysMode);

}  // namespace tolvane
