#include "setup/postscript_fax_installer.h"

#include <algorithm>

#include "setup/file_toolkit.h"
#include "setup/printer_steps.h"
#include "setup/spooler_control.h"

namespace tolvane {
namespace {

// The driver's files in the order they are placed and removed.
constexpr std::u16string_view kDriverFileNames[] = {u"APLWMGS1.BPD", u"APLWMGS1.PPD", u"PS5UI.DLL", u"PSCRIPT5.DLL",
                                                    u"PSCRIPT.HLP"};

// The 32-bit monitor's user interface and the dialog program, shipped for the
// 32-bit side of 64-bit Windows.
constexpr std::u16string_view kShippedWow64Folder = u"SysWOW64\\Tolvane";
constexpr std::u16string_view kMonitorUiFile = u"Caskelui.dll";
constexpr std::u16string_view kDialogProgram = u"Korrim.exe";

DriverRecord FaxDriverRecord(std::u16string_view environment) {
    DriverRecord driver;
    driver.version = 3;
    driver.name = kTolvaneName;
    driver.environment = environment;
    driver.driverPath = u"PSCRIPT5.DLL";
    driver.dataFile = u"APLWMGS1.PPD";
    driver.configFile = u"PS5UI.DLL";
    driver.helpFile = u"PSCRIPT.HLP";
    driver.dependentFiles = {u"PSCRIPT5.DLL"};
    driver.defaultDataType = u"NT EMF 1.008";
    return driver;
}

bool DeleteIfPresent(FileSystem& files, const std::u16string& path) {
    return !files.Exists(path) || files.DeleteFile(path);
}

}  // namespace

std::vector<PostScriptFaxInstaller::DriverSide> PostScriptFaxInstaller::DriverSides() const {
    if (m_.bitness == 32) return {{u"", m_.workFolder, true}};
    // 64-bit programs print through the x64 driver, 32-bit ones through the
    // x86 driver; each side's files wait in a folder of their own.
    return {{std::u16string(kEnvironmentX64), JoinPath(m_.workFolder, u"x64"), false},
            {std::u16string(kEnvironmentX86), JoinPath(m_.workFolder, u"x86"), true}};
}

std::u16string_view PostScriptFaxInstaller::MonitorFile() const {
    return m_.bitness == 32 ? kMonitor32.fileName : kMonitor64.fileName;
}

std::u16string_view PostScriptFaxInstaller::PortName() const { return m_.bitness == 32 ? u"F" : u"P"; }

bool PostScriptFaxInstaller::PrinterExists() { return m_.spooler.PrinterExists(kTolvaneName); }

void PostScriptFaxInstaller::LogSystemError() { m_.log.Write(m_.spooler.LastErrorText(), kLogSystemError); }

bool PostScriptFaxInstaller::ChangeFaxPort(std::u16string_view port, bool remove) {
    switch (m_.spooler.SendPortCommand(kTolvaneXcvObject, remove ? u"DeletePort" : u"AddPort", port)) {
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

bool PostScriptFaxInstaller::AddFaxMonitor() {
    if (m_.spooler.AddMonitor({std::u16string(kTolvaneName), u"", std::u16string(MonitorFile())})) return true;
    LogSystemError();
    return false;
}

void PostScriptFaxInstaller::RemoveFaxMonitor() {
    const std::vector<std::u16string> monitors = m_.spooler.MonitorNames();
    if (std::find(monitors.begin(), monitors.end(), kTolvaneName) == monitors.end()) return;
    // A monitor still in use is let go by a restart of the spooler.
    if (!m_.spooler.DeleteMonitor(kTolvaneName)) {
        RestartSpooler(m_.services);
        m_.spooler.DeleteMonitor(kTolvaneName);
    }
}

void PostScriptFaxInstaller::PlaceDriverFiles(const DriverSide& side) {
    const std::u16string driverDir = m_.spooler.DriverDirectory(side.environment);
    for (std::u16string_view name : kDriverFileNames) {
        const std::u16string extracted = JoinPath(side.folder, name);
        PlaceDriverFile(m_.files, extracted, driverDir, name);
        m_.files.DeleteFile(extracted);
    }
}

bool PostScriptFaxInstaller::AddFaxDriver(const DriverSide& side) {
    PlaceDriverFiles(side);
    if (m_.spooler.AddDriver(FaxDriverRecord(side.environment))) return true;
    LogSystemError();
    return false;
}

void PostScriptFaxInstaller::RemoveFaxDriver() {
    for (const DriverSide& side : DriverSides()) {
        m_.spooler.DeleteDriver(kTolvaneName, side.environment);  // files still in use stay; the answer is no matter
        const std::u16string driverDir = m_.spooler.DriverDirectory(side.environment);
        for (std::u16string_view name : kDriverFileNames) DeleteIfPresent(m_.files, JoinPath(driverDir, name));
    }
}

bool PostScriptFaxInstaller::AddFaxPrinter() {
    PrinterRecord printer;
    printer.printerName = kTolvaneName;
    printer.portName = PortName();
    printer.driverName = kTolvaneName;
    printer.printProcessor = u"WinPrint";
    printer.dataType = u"RAW";
    printer.attributes = 4;  // PRINTER_ATTRIBUTE_DEFAULT
    if (m_.spooler.AddPrinter(printer)) return true;
    LogSystemError();
    return false;
}

bool PostScriptFaxInstaller::RemoveFaxPrinter() {
    switch (m_.spooler.DeletePrinter(kTolvaneName)) {
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

bool PostScriptFaxInstaller::PlaceMonitor() {
    const std::vector<DriverSide> sides = DriverSides();
    const std::u16string systemDir = m_.files.SystemDirectory();
    const std::u16string monitor = JoinPath(systemDir, MonitorFile());
    if (m_.bitness != 64) {
        m_.files.CopyFile(JoinPath(sides.front().folder, MonitorFile()), monitor);
        return true;
    }
    const std::u16string shipped = JoinPath(m_.programFolder, kShippedWow64Folder);
    const bool switched = m_.files.WithoutFsRedirection([&] {
        m_.files.CopyFile(JoinPath(sides.front().folder, MonitorFile()), monitor);
        const std::u16string uiFolder = JoinPath(JoinPath(m_.files.WindowsDirectory(), u"SysWOW64"), u"Tolvane");
        m_.files.CreateFolder(uiFolder);
        m_.files.CopyFile(JoinPath(shipped, kMonitorUiFile), JoinPath(uiFolder, kMonitorUiFile));
    });
    if (!switched) {
        LogSystemError();
        return false;
    }
    // A spooler that runs inside a 32-bit process (Wine's) loads the monitor
    // under its registered name from the 32-bit system directory, and that
    // monitor starts the dialog program from its own system directory. The
    // 64-bit spooler of Windows never looks there.
    m_.files.CopyFile(JoinPath(sides.back().folder, kMonitor32.fileName), monitor);
    m_.files.CopyFile(JoinPath(shipped, kDialogProgram), JoinPath(systemDir, kDialogProgram));
    return true;
}

bool PostScriptFaxInstaller::DeleteMonitorLibraries() {
    const std::u16string monitor = JoinPath(m_.files.SystemDirectory(), MonitorFile());
    if (m_.bitness != 64) return DeleteIfPresent(m_.files, monitor);
    bool deleted = true;
    m_.files.WithoutFsRedirection([&] { deleted = DeleteIfPresent(m_.files, monitor); });
    return DeleteIfPresent(m_.files, monitor) && deleted;  // the 32-bit side's copy
}

SetupOutcome PostScriptFaxInstaller::Install() {
    m_.files.CreateFolder(kFaxOutputFolder);
    m_.progress.SetProgress(0);
    if (!IsSpoolerRunning(m_.services) && !StartSpooler(m_.services)) {
        m_.progress.SetProgress(100);
        m_.log.Write(u"Start Print Service failed!", kLogFailure);
        return SetupOutcome::kFailure;
    }
    m_.progress.SetProgress(20);

    const std::vector<DriverSide> sides = DriverSides();
    for (const DriverSide& side : sides) {
        if (side.folder != m_.workFolder) m_.files.CreateFolder(side.folder);
        ExtractDriverPackage(m_.files, side.is32Bit, side.folder);
    }
    m_.progress.SetProgress(30);

    if (!PlaceMonitor()) return SetupOutcome::kFailure;
    for (const DriverSide& side : sides)
        m_.files.DeleteFile(JoinPath(side.folder, side.is32Bit ? kMonitor32.fileName : kMonitor64.fileName));
    m_.progress.SetProgress(50);

    CopyFolderToSystemDir(m_.files, m_.bitness, JoinPath(m_.programFolder, u"system32"), true);
    if (m_.bitness == 64) {
        const std::u16string wow64 = JoinPath(m_.programFolder, u"SysWOW64");
        CopyFolderToSystemDir(m_.files, m_.bitness, wow64, false);
        CopyFolderToSystemDir(m_.files, m_.bitness, wow64, true);
    }
    m_.progress.SetProgress(60);

    if (AddFaxMonitor()) {
        m_.log.Write(u"Add Tolvane Monitor Success!", kLogSuccess);
    } else {
        m_.log.Write(u"Add Tolvane Monitor Failed!", kLogFailure);
    }
    m_.progress.SetProgress(70);

    // A driver that is there already gets its extracted files thrown away and
    // the success entry; a driver added now gets no entry of its own.
    bool added = false;
    for (const DriverSide& side : sides) {
        if (m_.spooler.DriverExists(kTolvaneName, side.environment)) {
            for (std::u16string_view name : kDriverFileNames) m_.files.DeleteFile(JoinPath(side.folder, name));
            continue;
        }
        if (!AddFaxDriver(side)) {
            m_.progress.SetProgress(100);
            m_.log.Write(u"Add Tolvane Driver Failed!", kLogFailure);
            return SetupOutcome::kFailure;
        }
        added = true;
    }
    if (!added) m_.log.Write(u"Add Tolvane Driver Success!", kLogSuccess);
    m_.progress.SetProgress(80);

    return AddPortAndPrinter(m_, Objects());
}

PrinterObjects PostScriptFaxInstaller::Objects() {
    return {kTolvaneName,
            kTolvaneName,
            [this](bool remove) { return ChangeFaxPort(PortName(), remove); },
            [this] { return PrinterExists(); },
            [this] { return AddFaxPrinter(); },
            [this] { return RemoveFaxPrinter(); }};
}

SetupOutcome PostScriptFaxInstaller::Uninstall() {
    if (const std::optional<SetupOutcome> ended = RemovePrinterAndPort(m_, Objects())) return *ended;

    const std::vector<DriverSide> sides = DriverSides();
    if (std::any_of(sides.begin(), sides.end(),
                    [&](const DriverSide& side) { return m_.spooler.DriverExists(kTolvaneName, side.environment); })) {
        m_.progress.SetProgress(70);
        RemoveFaxDriver();
        m_.log.Write(u"Delete Tolvane Driver Success!", kLogSuccess);
    }

    RemoveFaxMonitor();
    m_.log.Write(u"Delete Tolvane Monitor Success!", kLogSuccess);
    // A library the spooler still holds can be deleted once it restarted.
    const bool librariesDeleted = DeleteMonitorLibraries();

    if (!RestartSpooler(m_.services)) return SetupOutcome::kSpoolerNotRestarted;
    if (!librariesDeleted) DeleteMonitorLibraries();
    m_.progress.SetProgress(100);
    return SetupOutcome::kSuccess;
}

}  // namespace tolvane
