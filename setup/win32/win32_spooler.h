#pragma once
// The setup tool's print spooler: winspool on the local machine. Every call that
// fails leaves the thread's last error as the failing winspool call set it (the
// handles closed afterwards do not overwrite it), for LastErrorText.

#include "setup/setup_platform.h"

namespace tolvane {

class Win32Spooler final : public Spooler {
public:
    bool PrinterExists(std::u16string_view printerName) override;
    bool DriverExists(std::u16string_view driverName, std::u16string_view environment) override;
    std::vector<std::u16string> MonitorNames() override;

    bool AddMonitor(const MonitorRecord& monitor) override;
    bool DeleteMonitor(std::u16string_view monitorName) override;
    bool AddDriver(const DriverRecord& driver) override;
    bool DeleteDriver(std::u16string_view driverName, std::u16string_view environment) override;

    XcvResult SendPortCommand(std::u16string_view xcvObject, std::u16string_view command,
                              std::u16string_view portName) override;

    bool AddPrinter(const PrinterRecord& printer) override;
    DeleteResult DeletePrinter(std::u16string_view printerName) override;
    void CancelAllJobs(std::u16string_view printerName) override;

    std::u16string DriverDirectory(std::u16string_view environment) override;
    std::u16string LastErrorText() override;
};

// The system's message for `code` (system message table, inserts ignored, the
// user's default language), ending in a line break; "Error N" and a line break
// when the system has no text for it.
std::u16string SystemErrorText(unsigned long code);

// A double-null-terminated list ("A\0B\0\0") of the names; empty for none.
std::u16string MultiStringList(const std::vector<std::u16string>& names);

}  // namespace tolvane
