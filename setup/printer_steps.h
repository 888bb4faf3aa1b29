#pragma once
// The steps both fax printers' installs and removals take alike: after the
// driver, the port and the printer (progress 80 to 100); before the driver,
// the spooler running, the printer's jobs cancelled, the printer and the port
// removed (progress 0 to 60). Their log entries name the printer's word,
// "Tolvane" or "Quillon".

#include <functional>
#include <optional>
#include <string_view>

#include "setup/postscript_fax_installer.h"
#include "setup/setup_platform.h"

namespace tolvane {

struct PrinterObjects {
    std::u16string_view word;         // in the log entries
    std::u16string_view printerName;  // whose jobs the removal cancels
    std::function<bool(bool remove)> changePort;
    std::function<bool()> printerExists;
    std::function<bool()> addPrinter;
    std::function<bool()> removePrinter;
};

// One install or removal as a whole ("Tolvane Install", "Quillon UnInstall"):
// `run` framed in the log by the operation's "Starting...", then its
// "Success!" or "Failed!" entry. Answers run's outcome.
SetupOutcome RunLoggedOperation(SetupLog& log, std::u16string_view operation, const std::function<SetupOutcome()>& run);

// The port, then the printer unless it exists: the install's outcome.
SetupOutcome AddPortAndPrinter(SetupMachine& machine, const PrinterObjects& objects);

// The spooler started when it is not running, the jobs cancelled, the printer
// and the port removed. An outcome when the removal ends here (a failure);
// nothing when it goes on to the driver.
std::optional<SetupOutcome> RemovePrinterAndPort(SetupMachine& machine, const PrinterObjects& objects);

}  // namespace tolvane
