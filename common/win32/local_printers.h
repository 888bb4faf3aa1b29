#pragma once
// The printers of the local machine, as the setup tool and the port dialogs
// ask after them.

#include <string>

namespace tolvane {

// Whether a local printer has exactly this name (case included). False when
// the spooler cannot list its printers.
bool LocalPrinterExists(const std::u16string& printer);

}  // namespace tolvane
