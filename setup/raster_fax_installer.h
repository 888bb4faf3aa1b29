#pragma once
// The raster fax printer "Quillon Printer": the driver "Quillon" on the
// system's Unidrv driver with the plug-in package of a shipped driver folder,
// the local port "Quillon Port" of the Local Port monitor, and the printer.

#include <string_view>

#include "setup/postscript_fax_installer.h"
#include "setup/setup_platform.h"

namespace tolvane {

inline constexpr std::u16string_view kQuillonPrinterName = u"Quillon Printer";
inline constexpr std::u16string_view kQuillonPortName = u"Quillon Port";
inline constexpr std::u16string_view kQuillonDriverName = u"Quillon";
inline constexpr std::u16string_view kLocalPortXcvObject = u",XcvMonitor Local Port";

class RasterFaxInstaller {
public:
    // `olderFileSet`: the older build's PellmarkSys.dll driver set on 32-bit systems.
    RasterFaxInstaller(SetupMachine& machine, bool olderFileSet) : m_(machine), olderFileSet_(olderFileSet) {}

    SetupOutcome Install();
    SetupOutcome Uninstall();

    bool RasterPrinterExists();

private:
    bool RasterDriverExists();
    bool AddRasterDriver();
    void RemoveRasterDriver();
    bool ChangeRasterPort(bool remove);
    bool AddRasterPrinter();
    bool RemoveRasterPrinter();
    void LogSystemError();

    SetupMachine& m_;
    bool olderFileSet_;
};

}  // namespace tolvane
