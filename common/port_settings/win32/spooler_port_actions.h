#pragma once
// The port dialogs' work on the local machine: the monitor's port commands
// through the spooler's transceive channel, the printer of a port, and the
// setup tool's actions on every port, whose values it keeps in the registry.

#include <windows.h>

#include <winspool.h>

#include <string>

#include "common/key_store.h"
#include "common/port_settings/port_dialog_actions.h"
#include "common/win32/local_printers.h"

namespace tolvane {

// Runs the monitor's transceive command (",XcvMonitor Tolvane") with the
// input `input` of `inputBytes` bytes and room for `outputBytes` of answer.
// True only when the call went through and the monitor answered success;
// otherwise the thread's last error is the call's or the monitor's status.
bool RunMonitorCommand(const wchar_t* command, const void* input, DWORD inputBytes, void* output, DWORD outputBytes,
                       ACCESS_MASK access);

// "AddPort" or "DeletePort" for the port (its name with the terminating null).
bool ChangeMonitorPort(const std::u16string& port, bool remove);

// The printer "Tolvane_<port>" (driver "Tolvane", "WinPrint", "RAW"), and its removal.
bool AddLocalPortPrinter(const std::u16string& port);
bool RemoveLocalPortPrinter(const std::u16string& port);

// The setup tool's actions: every port of the registry rooted at
// HKEY_LOCAL_MACHINE, ports and printers added and removed.
class MachinePortActions final : public PortDialogActions {
public:
    explicit MachinePortActions(KeyStore& machineRegistry) : store_(machineRegistry) {}

    std::vector<std::u16string> Ports() override { return store_.EnumeratePorts(); }
    void Load(const std::u16string& port, PortSettings& settings) override { store_.LoadPortSettings(port, settings); }
    bool Save(const std::u16string& port, const PortSettings& settings) override;
    bool ManagesPorts() const override { return true; }
    bool ChangeFaxPort(const std::u16string& port, bool remove) override { return ChangeMonitorPort(port, remove); }
    bool PrinterExists(const std::u16string& printer) override { return LocalPrinterExists(printer); }
    bool AddPortPrinter(const std::u16string& port) override { return AddLocalPortPrinter(port); }
    bool RemovePortPrinter(const std::u16string& port) override { return RemoveLocalPortPrinter(port); }
    bool FolderExists(std::u16string_view folder) override;

private:
    PortSettingsStore store_;
};

}  // namespace tolvane
