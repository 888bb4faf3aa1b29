#pragma once
// Recording fakes of what the setup tool asks of the machine: an in-memory
// file system with the WoW64 redirection of a 32-bit process, a spooler that
// keeps its monitors, drivers, ports and printers and checks what Windows
// checks (a monitor's library in the native system directory, a driver's files
// in the driver directory of its environment, a printer's driver and port), the
// "Spooler" service, the setup log and the progress bar. Every call that
// matters lands in one journal, so a test sees the order across all of them.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/key_store.h"
#include "setup/setup_platform.h"

namespace tolvane::testing {

// One line per event: "log 1 Add Tolvane Port Success!", "progress 80",
// "sleep 2000", "run net stop spooler", "AddDriver Tolvane [Windows x64]", ...
struct Journal {
    std::vector<std::string> events;
    void Add(std::string event) { events.push_back(std::move(event)); }
    // The events that start with one of the prefixes, in order.
    std::vector<std::string> With(std::initializer_list<std::string_view> prefixes) const;
    // The position of the first event equal to `event`, or -1.
    int IndexOf(std::string_view event) const;
};

std::string Narrow(std::u16string_view text);

class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(Journal& journal) : journal_(journal) {}

    // A 32-bit process on 64-bit Windows: paths below "C:\Windows\system32"
    // (but for its "spool" folder) reach "C:\Windows\SysWOW64".
    bool wow64 = false;
    bool redirectionSwitchAvailable = true;

    // Set-up and inspection, on real paths (no redirection). Parents are made.
    void AddFile(std::u16string_view path, std::string content);
    void AddFolder(std::u16string_view path);
    void MakeReadOnly(std::u16string_view folder) { readOnly_.insert(Key(folder)); }
    // The next `times` deletions of the file fail (a library the spooler holds).
    void HoldFile(std::u16string_view path, int times) { held_[Key(path)] = times; }
    std::optional<std::string> Content(std::u16string_view path) const;
    bool HasFolder(std::u16string_view path) const { return folders_.count(Key(path)) != 0; }
    // Files directly in a folder, by bare name.
    std::vector<std::string> FileNames(std::u16string_view folder) const;

    std::u16string SystemDirectory() override { return u"C:\\Windows\\system32"; }
    std::u16string WindowsDirectory() override { return u"C:\\Windows"; }
    bool Exists(std::u16string_view path) override;
    std::vector<FolderEntry> ListFolder(std::u16string_view folder) override;
    bool CopyFile(std::u16string_view from, std::u16string_view to) override;
    bool DeleteFile(std::u16string_view path) override;
    bool CreateFolder(std::u16string_view path) override;
    bool RemoveFolder(std::u16string_view path) override;
    bool ExtractResource(std::u16string_view type, int id, std::u16string_view path) override;
    bool WithoutFsRedirection(const std::function<void()>& operation) override;

private:
    static std::u16string Key(std::u16string_view path);
    static std::u16string Parent(std::u16string_view key);
    std::u16string Resolve(std::u16string_view path) const;
    bool Writable(const std::u16string& key) const;

    Journal& journal_;
    bool redirectionOff_ = false;
    std::map<std::u16string, std::string> files_;     // upper-cased path -> content
    std::set<std::u16string> folders_;                // upper-cased paths
    std::map<std::u16string, std::u16string> names_;  // upper-cased path -> path as first written
    std::set<std::u16string> readOnly_;
    std::map<std::u16string, int> held_;
};

class FakeSpooler final : public Spooler {
public:
    // `nativeEnvironment`: the drivers a printer of this machine needs.
    FakeSpooler(Journal& journal, FakeFileSystem& files, std::u16string_view nativeEnvironment)
        : journal_(journal), files_(files), native_(nativeEnvironment) {}

    // The monitor "Tolvane" creates a port's key here on "AddPort", as the
    // real one does under HKEY_LOCAL_MACHINE.
    KeyStore* registry = nullptr;

    // Failure switches.
    bool addMonitorFails = false;
    std::set<std::u16string> addDriverFailsFor;  // environments (x86 for the default one)
    bool xcvOpenFails = false;
    bool xcvCallFails = false;
    bool addPrinterFails = false;
    bool openPrinterFails = false;
    bool deletePrinterFails = false;
    int deleteMonitorRefusals = 0;

    // State.
    std::map<std::u16string, MonitorRecord> monitors;
    std::map<std::pair<std::u16string, std::u16string>, DriverRecord> drivers;  // (environment, name)
    std::map<std::u16string, std::set<std::u16string>> ports;                   // monitor -> ports
    std::map<std::u16string, PrinterRecord> printers;
    std::map<std::u16string, int> queuedJobs;

    bool HasDriver(std::u16string_view name, std::u16string_view environment) const;

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

private:
    // The default environment is the calling process's: the tool is 32-bit.
    static std::u16string Environment(std::u16string_view environment);
    bool Fail(std::string call);

    Journal& journal_;
    FakeFileSystem& files_;
    std::u16string native_;
    std::string lastError_ = "none";
};

class FakeServiceControl final : public ServiceControl {
public:
    explicit FakeServiceControl(Journal& journal) : journal_(journal) {}

    bool running = true;
    bool managerAvailable = true;
    bool startRefused = false;
    bool stopRefused = false;
    // "net start spooler" brings the service up.
    bool netStartWorks = false;

    Query QuerySpooler() override;
    bool StartSpoolerService() override;
    StopResult StopSpoolerService() override;
    void StartCommand(std::u16string_view commandLine) override;
    void Sleep(int milliseconds) override;

private:
    Journal& journal_;
};

class FakeSetupLog final : public SetupLog {
public:
    explicit FakeSetupLog(Journal& journal) : journal_(journal) {}
    std::vector<std::pair<std::u16string, int>> entries;
    bool Write(std::u16string_view text, int status) override;

private:
    Journal& journal_;
};

class FakeProgress final : public ProgressSink {
public:
    explicit FakeProgress(Journal& journal) : journal_(journal) {}
    int position = -1;
    void SetProgress(int newPosition) override;

private:
    Journal& journal_;
};

// A machine of either bitness with a release folder "D:\Release" (its shipped
// "system32", "SysWOW64\Tolvane" and "QuillonDriver" folders) and an empty work
// folder "C:\Temp\Setup".
struct FakeMachine {
    explicit FakeMachine(int bitness);

    Journal journal;
    FakeFileSystem files{journal};
    FakeSpooler spooler;
    FakeServiceControl services{journal};
    FakeSetupLog log{journal};
    FakeProgress progress{journal};
    SetupMachine machine;

    // The log entries and progress positions, in order.
    std::vector<std::string> Steps() const { return journal.With({"log ", "progress "}); }
};

}  // namespace tolvane::testing
