#pragma once
// The raster fax printer "Quillon Printer": the driver "Quillon" on the
// system's Unidrv driver with the plug-in package of a shipped driver folder,
// the local port "Quillon Port" of the Local Port monitor, and the printer.
//
// On 64-bit Windows the driver is registered for both environments: the
// "QuillonDriver\amd64" folder for 64-bit programs and "QuillonDriver\i386"
// (with the variant's 32-bit file set) for 32-bit ones.

#include <string>
#include <string_view>
#include <vector>

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
    // One registration of the driver: its environment (empty: the spooler's
    // own), the shipped driver folder it comes from, whether it is the older
    // PellmarkSys.dll set, and whether its back end goes into the Windows
    // directory (shared by both sides, which hold it under one name unless
    // the x86 side has the older set).
    struct DriverSide {
        std::u16string environment;
        std::u16string folder;
        bool olderSet;
        bool placesBackEnd;
    };
    // One side on 32-bit Windows; the x64 and the x86 side on any other.
    std::vector<DriverSide> DriverSides() const;

    bool AddRasterDriver(const DriverSide& side);
    void RemoveRasterDriver();
    bool ChangeRasterPort(bool remove);
    bool AddRasterPrinter();
    bool RemoveRasterPrinter();
    // The port and the printer, for the steps both printers take alike.
    PrinterObjects Objects();
    void LogSystemError();

    SetupMachine& m_;
    bool olderFileSet_;
};

}  // namespace tolvane
