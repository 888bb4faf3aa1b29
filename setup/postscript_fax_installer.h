#pragma once
// The PostScript fax printer "Tolvane": its port monitor, its driver (the
// system's PostScript driver with the suite's printer description), one port
// of the monitor ("F" on 32-bit Windows, "P" on 64-bit) and the printer,
// created in that order and removed in the reverse order, with the setup log's
// entries and the progress bar's positions at each step.
//
// On 64-bit Windows the driver is registered for both environments (the x64
// files for 64-bit programs, the x86 files for 32-bit ones), and the 32-bit
// monitor and Korrim.exe are placed in the 32-bit system directory under the
// names a spooler running inside a 32-bit process (Wine's) loads; a 64-bit
// Windows spooler never looks there.

#include <string>
#include <string_view>
#include <vector>

#include "setup/setup_platform.h"

namespace tolvane {

inline constexpr std::u16string_view kTolvaneName = u"Tolvane";
inline constexpr std::u16string_view kTolvaneXcvObject = u",XcvMonitor Tolvane";
inline constexpr std::u16string_view kFaxOutputFolder = u"c:\\tiff";

struct PrinterObjects;  // printer_steps.h

enum class SetupOutcome {
    kSuccess,
    kFailure,
    // The uninstall removed everything, but the spooler did not run again
    // after the restart: a failure the caller reports with an information box.
    kSpoolerNotRestarted,
};

class PostScriptFaxInstaller {
public:
    explicit PostScriptFaxInstaller(SetupMachine& machine) : m_(machine) {}

    SetupOutcome Install();
    SetupOutcome Uninstall();

    bool PrinterExists();
    // The port the install creates: "F" on 32-bit Windows, "P" otherwise.
    std::u16string_view PortName() const;
    // "AddPort" or "DeletePort" for a port of the monitor; false when the
    // transceive object cannot be opened (logged with the system's text) or
    // the call was not delivered. The monitor's own answer is not looked at.
    bool ChangeFaxPort(std::u16string_view port, bool remove);

private:
    // One registration of the driver: its environment (empty: the spooler's
    // own), the folder its extracted files wait in, and which embedded set
    // they are.
    struct DriverSide {
        std::u16string environment;
        std::u16string folder;
        bool is32Bit;
    };
    // One side on 32-bit Windows; the x64 and the x86 side on any other.
    std::vector<DriverSide> DriverSides() const;
    std::u16string_view MonitorFile() const;

    bool AddFaxMonitor();
    void RemoveFaxMonitor();
    void PlaceDriverFiles(const DriverSide& side);
    bool AddFaxDriver(const DriverSide& side);
    void RemoveFaxDriver();
    bool AddFaxPrinter();
    bool RemoveFaxPrinter();
    // The port and the printer, for the steps both printers take alike.
    PrinterObjects Objects();
    bool PlaceMonitor();
    bool DeleteMonitorLibraries();
    void LogSystemError();

    SetupMachine& m_;
};

}  // namespace tolvane
