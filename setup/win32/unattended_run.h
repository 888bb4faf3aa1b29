#pragma once
// The setup tool without its window, for administrators who roll the fax
// printers out: the command line parsed, the log chosen, the administrator
// test, the tool's copy and shortcut (as the window's Install makes them) and
// their removal after the last printer, around the install or removal itself
// (RunUnattended of the core). "/quiet" shows nothing at all; otherwise the
// outcome, or the usage of a refused line, is shown in a message box.

#include <string>
#include <vector>

#include "setup/setup_variant.h"

namespace tolvane {

// Runs the program for its arguments (without the program name) and answers
// the exit code: kExitSuccess, kExitFailure, or kExitUsage for a refused line.
// Must not be called with no argument: that is the window.
int RunCommandLine(const SetupVariant& variant, const std::vector<std::u16string>& arguments);

}  // namespace tolvane
