#pragma once
// What the port settings dialog does to the machine, behind one interface: the
// setup tool acts on every port through the registry and the spooler, the
// monitor's user interface on the one port it was given, through the monitor's
// transceive commands.

#include <string>
#include <string_view>
#include <vector>

#include "common/port_settings/port_settings_store.h"

namespace tolvane {

class PortDialogActions {
public:
    virtual ~PortDialogActions() = default;

    // The ports the list shows, in order; empty when none can be read.
    virtual std::vector<std::u16string> Ports() = 0;

    // Fills `settings` with the port's values (defaults where one is absent).
    virtual void Load(const std::u16string& port, PortSettings& settings) = 0;

    // Writes every value of the port; false when they could not be written.
    virtual bool Save(const std::u16string& port, const PortSettings& settings) = 0;

    // Whether the dialog may add and delete ports and their printers.
    virtual bool ManagesPorts() const = 0;

    // The monitor's "AddPort" (remove false) or "DeletePort" (remove true).
    virtual bool ChangeFaxPort(const std::u16string& port, bool remove) = 0;

    // Whether a local printer has exactly this name (case included).
    virtual bool PrinterExists(const std::u16string& printer) = 0;

    // The printer "Tolvane_<port>" on the port, with the "Tolvane" driver; and its removal.
    virtual bool AddPortPrinter(const std::u16string& port) = 0;
    virtual bool RemovePortPrinter(const std::u16string& port) = 0;

    virtual bool FolderExists(std::u16string_view folder) = 0;
};

}  // namespace tolvane
