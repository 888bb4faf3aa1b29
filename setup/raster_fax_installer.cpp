#include "setup/raster_fax_installer.h"

#include <algorithm>

#include "setup/file_toolkit.h"
#include "setup/printer_steps.h"
#include "setup/spooler_control.h"

namespace tolvane {
namespace {

// The staging copies in the printer-driver directory that the removal
// deletes: the Unidrv core and the older set's description, whichever set was
// installed; dependent files and the back end stay.
constexpr std::u16string_view kRemovedDriverFiles[] = {u"Pellmark.GPD", u"UNIDRVUI.dll", u"UNIDRV.dll", u"UNIDRV.HLP"};

constexpr std::u16string_view kBackEnd = u"TessarySys.dll";
constexpr std::u16string_view kOlderBackEnd = u"PellmarkSys.dll";

DriverRecord RasterDriverRecord(std::u16string_view environment, bool olderSet) {
    DriverRecord driver;
    driver.version = 3;
    driver.name = kQuillonDriverName;
    driver.environment = environment;
    driver.driverPath = u"UNIDRV.dll";
    driver.configFile = u"UNIDRVUI.dll";
    driver.defaultDataType = u"NT EMF 1.008";
    if (olderSet) {
        driver.dataFile = u"Pellmark.GPD";
        driver.helpFile = u"unidrv.hlp";
        driver.dependentFiles = {u"Pellmark.GPD",    u"PellmarkUi.dll", u"PellmarkUi.INI",
                                 u"PellmarkUni.dll", u"stdnames.gpd",   u"unidrv.dll",
                                 u"unidrv.hlp",      u"unidrvui.dll",   u"unires.dll"};
    } else {
        driver.dataFile = u"Yarrowby.GPD";
        driver.dependentFiles = {u"UNIRES.DLL", u"STDNAMES.GPD", u"TessaryUi.dll", u"TessaryUi.INI", u"TessaryUni.dll"};
    }
    return driver;
}

}  // namespace

std::vector<RasterFaxInstaller::DriverSide> RasterFaxInstaller::DriverSides() const {
    const std::u16string i386 = JoinPath(m_.programFolder, u"QuillonDriver\\i386");
    if (m_.bitness == 32) return {{u"", i386, olderFileSet_, true}};
    return {{std::u16string(kEnvironmentX64), JoinPath(m_.programFolder, u"QuillonDriver\\amd64"), false, true},
            {std::u16string(kEnvironmentX86), i386, olderFileSet_, olderFileSet_}};
}

bool RasterFaxInstaller::RasterPrinterExists() { return m_.spooler.PrinterExists(kQuillonPrinterName); }

void RasterFaxInstaller::LogSystemError() { m_.log.Write(m_.spooler.LastErrorText(), kLogSystemError); }

bool RasterFaxInstaller::AddRasterDriver(const DriverSide& side) {
    const std::u16string_view backEnd = side.olderSet ? kOlderBackEnd : kBackEnd;
    if (side.placesBackEnd)
        CopyKeepingRealFiles(m_.files, JoinPath(side.folder, backEnd), JoinPath(m_.files.WindowsDirectory(), backEnd));
    CopyDriverFolder(m_.files, side.folder, m_.spooler.DriverDirectory(side.environment));
    if (m_.spooler.AddDriver(RasterDriverRecord(side.environment, side.olderSet))) return true;
    LogSystemError();
    return false;
}

void RasterFaxInstaller::RemoveRasterDriver() {
    for (const DriverSide& side : DriverSides()) {
        m_.spooler.DeleteDriver(kQuillonDriverName, side.environment);
        const std::u16string driverDir = m_.spooler.DriverDirectory(side.environment);
        for (std::u16string_view name : kRemovedDriverFiles) {
            const std::u16string path = JoinPath(driverDir, name);
            if (m_.files.Exists(path)) m_.files.DeleteFile(path);
        }
    }
}

bool RasterFaxInstaller::ChangeRasterPort(bool remove) {
    switch (m_.spooler.SendPortCommand(kLocalPortXcvObject, remove ? u"DeletePort" : u"AddPort", kQuillonPortName)) {
    case Spooler::XcvResult::kNotOpened:
        LogSystemError();
        return false;
    case Spooler::XcvResult::kFailed:
        return false;
    case Spooler::XcvResult::kDelivered:
        return true;
    }
    return false;
}

bool RasterFaxInstaller::AddRasterPrinter() {
    PrinterRecord printer;
    printer.printerName = kQuillonPrinterName;
    printer.shareName = kQuillonPrinterName;  // named, but not shared: the shared attribute stays clear
    printer.portName = kQuillonPortName;
    printer.driverName = kQuillonDriverName;
    printer.emptyComment = true;
    printer.printProcessor = u"WinPrint";
    printer.dataType = u"RAW";
    printer.attributes = 4;  // PRINTER_ATTRIBUTE_DEFAULT
    if (m_.spooler.AddPrinter(printer)) return true;
    LogSystemError();
    return false;
}

bool RasterFaxInstaller::RemoveRasterPrinter() {
    switch (m_.spooler.DeletePrinter(kQuillonPrinterName)) {
    case Spooler::DeleteResult::kNotOpened:
        return false;
    case Spooler::DeleteResult::kFailed:
        LogSystemError();
        return false;
    case Spooler::DeleteResult::kDeleted:
        return true;
    }
    return false;
}

SetupOutcome RasterFaxInstaller::Install() {
    m_.progress.SetProgress(0);
    if (!IsSpoolerRunning(m_.services) && !StartSpooler(m_.services)) {
        m_.progress.SetProgress(100);
        m_.log.Write(u"Start Print Service failed!", kLogFailure);
        return SetupOutcome::kFailure;
    }
    m_.progress.SetProgress(70);

    // A driver that is there already is left alone, without an entry.
    bool added = false;
    for (const DriverSide& side : DriverSides()) {
        if (m_.spooler.DriverExists(kQuillonDriverName, side.environment)) continue;
        if (!AddRasterDriver(side)) {
            m_.progress.SetProgress(100);
            m_.log.Write(u"Add Quillon Driver Failed!", kLogFailure);
            return SetupOutcome::kFailure;
        }
        added = true;
    }
    if (added) m_.log.Write(u"Add Quillon Driver Success!", kLogSuccess);
    m_.progress.SetProgress(80);

    return AddPortAndPrinter(m_, Objects());
}

PrinterObjects RasterFaxInstaller::Objects() {
    return {u"Quillon",
            kQuillonPrinterName,
            [this](bool remove) { return ChangeRasterPort(remove); },
            [this] { return RasterPrinterExists(); },
            [this] { return AddRasterPrinter(); },
            [this] { return RemoveRasterPrinter(); }};
}

SetupOutcome RasterFaxInstaller::Uninstall() {
    if (const std::optional<SetupOutcome> ended = RemovePrinterAndPort(m_, Objects())) return *ended;

    const std::vector<DriverSide> sides = DriverSides();
    if (std::any_of(sides.begin(), sides.end(), [&](const DriverSide& side) {
            return m_.spooler.DriverExists(kQuillonDriverName, side.environment);
        })) {
        m_.progress.SetProgress(70);
        RemoveRasterDriver();
        m_.log.Write(u"Delete Quillon Driver Success!", kLogSuccess);
    }

    if (!RestartSpooler(m_.services)) return SetupOutcome::kSpoolerNotRestarted;
    m_.progress.SetProgress(100);
    return SetupOutcome::kSuccess;
}

}  // namespace tolvane
