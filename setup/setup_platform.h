#pragma once
// What the setup tool asks of the machine, as small interfaces: the print
// spooler's objects, the "Spooler" service, files and folders, and the two
// things the user watches while an operation runs (the progress bar and the
// setup log). The install and removal sequences are portable code over these;
// the product implements them in setup/win32, the tests with recording fakes.
//
// Paths are UTF-16 Windows paths; folders are given without a trailing
// backslash unless a function says otherwise.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The setup log's statuses.
inline constexpr int kLogSystemError = -1;  // the text is the system's message for the last error
inline constexpr int kLogFailure = 0;
inline constexpr int kLogSuccess = 1;

// Where progress entries go: discarded (Ruddock), appended to "Setup.log"
// (Ruddset) or to the file of the unattended "/log" option.
class SetupLog {
public:
    virtual ~SetupLog() = default;
    // Whether the entry was written; callers never act on a failure.
    virtual bool Write(std::u16string_view text, int status) = 0;
};

// The main dialog's progress bar and completion label (or nothing, unattended).
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetProgress(int position) = 0;
};

// MONITOR_INFO_2.
struct MonitorRecord {
    std::u16string name;
    std::u16string environment;  // empty: the spooler's own
    std::u16string dllName;
};

// DRIVER_INFO_3.
struct DriverRecord {
    int version = 3;
    std::u16string name;
    std::u16string environment;  // empty: the spooler's own
    std::u16string driverPath;
    std::u16string dataFile;
    std::u16string configFile;
    std::u16string helpFile;                     // empty: none
    std::vector<std::u16string> dependentFiles;  // empty: none
    std::u16string defaultDataType;
};

// PRINTER_INFO_2, the fields the tool sets; everything else is none or 0.
struct PrinterRecord {
    std::u16string printerName;
    std::u16string shareName;  // empty: none
    std::u16string portName;
    std::u16string driverName;
    bool emptyComment = false;  // an empty comment text instead of none
    std::u16string printProcessor;
    std::u16string dataType;
    unsigned attributes = 0;
};

// The environments a driver is registered for.
inline constexpr std::u16string_view kEnvironmentX86 = u"Windows NT x86";
inline constexpr std::u16string_view kEnvironmentX64 = u"Windows x64";

// The local print spooler. Every call that fails leaves the thread's last error
// for LastErrorText.
class Spooler {
public:
    virtual ~Spooler() = default;

    // Local printers (level 4), names compared exactly.
    virtual bool PrinterExists(std::u16string_view printerName) = 0;
    // Drivers of `environment` (empty: the default environment), level 3.
    virtual bool DriverExists(std::u16string_view driverName, std::u16string_view environment) = 0;
    // Installed monitors, level 1.
    virtual std::vector<std::u16string> MonitorNames() = 0;

    virtual bool AddMonitor(const MonitorRecord& monitor) = 0;
    virtual bool DeleteMonitor(std::u16string_view monitorName) = 0;
    virtual bool AddDriver(const DriverRecord& driver) = 0;
    // DeletePrinterDriverW; `environment` empty: the default environment.
    virtual bool DeleteDriver(std::u16string_view driverName, std::u16string_view environment) = 0;

    // XcvDataW on `xcvObject` (",XcvMonitor NAME") opened with SERVER_ALL_ACCESS:
    // `command` with the port name and its terminator as input, no output.
    // kXcvNotOpened when the object cannot be opened, else whether XcvDataW
    // itself succeeded (the monitor's status word is not looked at).
    enum class XcvResult { kNotOpened, kFailed, kDelivered };
    virtual XcvResult SendPortCommand(std::u16string_view xcvObject, std::u16string_view command,
                                      std::u16string_view portName) = 0;

    // AddPrinterW level 2; the handle is closed at once.
    virtual bool AddPrinter(const PrinterRecord& printer) = 0;
    // Opens the printer (data type "RAW", PRINTER_ALL_ACCESS) and deletes it.
    enum class DeleteResult { kNotOpened, kFailed, kDeleted };
    virtual DeleteResult DeletePrinter(std::u16string_view printerName) = 0;
    // Deletes the printer's queued jobs (the first 1024); nothing when it
    // cannot be opened.
    virtual void CancelAllJobs(std::u16string_view printerName) = 0;

    // GetPrinterDriverDirectoryW for `environment` (empty: the default one),
    // followed by a backslash.
    virtual std::u16string DriverDirectory(std::u16string_view environment) = 0;

    // The system's message text for the last error of the calling thread,
    // ending in its own line break (FormatMessageW).
    virtual std::u16string LastErrorText() = 0;
};

// The "Spooler" service and the fallback programs.
class ServiceControl {
public:
    virtual ~ServiceControl() = default;
    enum class Query { kUnavailable, kRunning, kNotRunning };
    // Opens the manager (connect and create-service) and the service (generic
    // read), and tells whether bit 2 of its current state is set (running,
    // continue pending, pause pending, paused).
    virtual Query QuerySpooler() = 0;
    // Opens the manager and the service with all access and starts it;
    // whether StartServiceW was called and succeeded.
    virtual bool StartSpoolerService() = 0;
    enum class StopResult { kNoManager, kFailed, kStopped };
    // kNoManager when the manager cannot be opened; else whether the stop
    // control was accepted.
    virtual StopResult StopSpoolerService() = 0;
    // Starts a command line with a normally shown window, not waited for.
    virtual void StartCommand(std::u16string_view commandLine) = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// The first bytes of a marked stand-in: a build without the files of others
// (the system's PostScript and Unidrv driver files, the raster driver
// package) carries such a file in their place, for Wine, whose drivers never
// load those binaries. A stand-in never replaces a file that is there.
inline constexpr std::string_view kStandInMarker = "TOLVANE STAND-IN";

// Files and folders of the machine.
struct FolderEntry {
    std::u16string name;  // bare name
    bool isFolder = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::u16string SystemDirectory() = 0;   // GetSystemDirectoryW (redirected for a 32-bit process)
    virtual std::u16string WindowsDirectory() = 0;  // GetSystemWindowsDirectoryW

    // FindFirstFileW finds the path.
    virtual bool Exists(std::u16string_view path) = 0;
    // Entries of a folder without "." and "..", in the system's order.
    virtual std::vector<FolderEntry> ListFolder(std::u16string_view folder) = 0;
    // Overwrites an existing destination.
    virtual bool CopyFile(std::u16string_view from, std::u16string_view to) = 0;
    // Whether the file's first bytes are `prefix`; false when it cannot be read.
    virtual bool FileStartsWith(std::u16string_view path, std::string_view prefix) = 0;
    virtual bool DeleteFile(std::u16string_view path) = 0;
    // Creates one folder; an existing one counts as success. Parents are not made.
    virtual bool CreateFolder(std::u16string_view path) = 0;
    virtual bool RemoveFolder(std::u16string_view path) = 0;
    // Writes the bytes of the program's resource (`type`, `id`) to `path`,
    // replacing a file that is there; false when the file cannot be created.
    virtual bool ExtractResource(std::u16string_view type, int id, std::u16string_view path) = 0;
    // Runs `operation` with the WoW64 file-system redirection switched off;
    // false, without running it, when the switch is unavailable.
    virtual bool WithoutFsRedirection(const std::function<void()>& operation) = 0;
};

// What an install or removal works with.
struct SetupMachine {
    Spooler& spooler;
    ServiceControl& services;
    FileSystem& files;
    SetupLog& log;
    ProgressSink& progress;
    // DetectBitness: 32, 64, or -1 when unknown.
    int bitness = 32;
    // The folder the tool was started from, which holds the shipped folders
    // ("system32", "SysWOW64", "QuillonDriver").
    std::u16string programFolder;
    // A private folder the embedded files are extracted into (the program's
    // folder may be read-only: a share, a CD).
    std::u16string workFolder;
};

}  // namespace tolvane
