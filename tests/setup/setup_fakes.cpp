#include "tests/setup/setup_fakes.h"

#include <algorithm>

#include "common/port_values.h"
#include "common/text.h"
#include "common/letter_case.h"

namespace tolvane::testing {

std::vector<std::string> Journal::With(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> found;
    for (const std::string& event : events)
        for (std::string_view prefix : prefixes)
            if (event.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(event);
                break;
            }
    return found;
}

int Journal::IndexOf(std::string_view event) const {
    const auto found = std::find(events.begin(), events.end(), event);
    return found == events.end() ? -1 : static_cast<int>(found - events.begin());
}

std::string Narrow(std::u16string_view text) { return NarrowForLog(text); }

// The file system.

std::u16string FakeFileSystem::Key(std::u16string_view path) {
    while (path.size() > 3 && path.back() == u'\\') path.remove_suffix(1);
    return AsciiUpper(path);
}

std::u16string FakeFileSystem::Parent(std::u16string_view key) {
    const std::size_t slash = key.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(key.substr(0, slash));
}

std::u16string FakeFileSystem::Resolve(std::u16string_view path) const {
    std::u16string key = Key(path);
    if (!wow64 || redirectionOff_) return key;
    const std::u16string system = u"C:\\WINDOWS\\SYSTEM32";
    if (key.compare(0, system.size(), system) != 0) return key;
    if (key.size() > system.size() && key[system.size()] != u'\\') return key;
    const std::u16string rest = key.substr(system.size());
    if (rest.compare(0, 7, u"\\SPOOL\\") == 0 || rest == u"\\SPOOL") return key;  // exempt from redirection
    return u"C:\\WINDOWS\\SYSWOW64" + rest;
}

bool FakeFileSystem::Writable(const std::u16string& key) const {
    for (const std::u16string& folder : readOnly_)
        if (key.compare(0, folder.size(), folder) == 0 && (key.size() == folder.size() || key[folder.size()] == u'\\'))
            return false;
    return true;
}

void FakeFileSystem::AddFolder(std::u16string_view path) {
    std::u16string key = Key(path);
    std::u16string name = std::u16string(path);
    while (!key.empty() && folders_.insert(key).second) {
        names_.try_emplace(key, name);
        key = Parent(key);
        name = Parent(name);
    }
}

void FakeFileSystem::AddFile(std::u16string_view path, std::string content) {
    const std::u16string key = Key(path);
    AddFolder(std::u16string_view(path).substr(0, path.rfind(u'\\')));
    files_[key] = std::move(content);
    names_.try_emplace(key, path);
}

std::optional<std::string> FakeFileSystem::Content(std::u16string_view path) const {
    const auto found = files_.find(Key(path));
    if (found == files_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> FakeFileSystem::FileNames(std::u16string_view folder) const {
    std::vector<std::string> names;
    const std::u16string key = Key(folder);
    for (const auto& [path, content] : files_)
        if (Parent(path) == key) names.push_back(Narrow(names_.at(path).substr(key.size() + 1)));
    return names;
}

bool FakeFileSystem::Exists(std::u16string_view path) {
    const std::u16string key = Resolve(path);
    return files_.count(key) != 0 || folders_.count(key) != 0;
}

std::vector<FolderEntry> FakeFileSystem::ListFolder(std::u16string_view folder) {
    const std::u16string key = Resolve(folder);
    std::vector<FolderEntry> entries;
    if (folders_.count(key) == 0) return entries;
    for (const std::u16string& sub : folders_)
        if (Parent(sub) == key) entries.push_back({names_.at(sub).substr(names_.at(sub).rfind(u'\\') + 1), true});
    for (const auto& [path, content] : files_)
        if (Parent(path) == key) entries.push_back({names_.at(path).substr(names_.at(path).rfind(u'\\') + 1), false});
    return entries;
}

bool FakeFileSystem::CopyFile(std::u16string_view from, std::u16string_view to) {
    const auto source = files_.find(Resolve(from));
    const std::u16string target = Resolve(to);
    if (source == files_.end() || folders_.count(Parent(target)) == 0 || !Writable(target) ||
        folders_.count(target) != 0)
        return false;
    files_[target] = source->second;
    names_.try_emplace(target, to);
    return true;
}

bool FakeFileSystem::FileStartsWith(std::u16string_view path, std::string_view prefix) {
    const auto file = files_.find(Resolve(path));
    return file != files_.end() && file->second.starts_with(prefix);
}

bool FakeFileSystem::DeleteFile(std::u16string_view path) {
    const std::u16string key = Resolve(path);
    auto held = held_.find(key);
    if (files_.count(key) == 0 || !Writable(key) || (held != held_.end() && held->second-- > 0)) {
        journal_.Add("delete " + Narrow(key) + " failed");
        return false;
    }
    files_.erase(key);
    journal_.Add("delete " + Narrow(key));
    return true;
}

bool FakeFileSystem::CreateFolder(std::u16string_view path) {
    const std::u16string key = Resolve(path);
    if (folders_.count(key) != 0) return true;
    if (folders_.count(Parent(key)) == 0 || !Writable(key) || files_.count(key) != 0) return false;
    folders_.insert(key);
    names_.try_emplace(key, path);
    return true;
}

bool FakeFileSystem::RemoveFolder(std::u16string_view path) {
    const std::u16string key = Resolve(path);
    if (folders_.count(key) == 0 || !Writable(key)) return false;
    for (const std::u16string& folder : folders_)
        if (Parent(folder) == key) return false;
    for (const auto& [file, content] : files_)
        if (Parent(file) == key) return false;
    folders_.erase(key);
    return true;
}

bool FakeFileSystem::ExtractResource(std::u16string_view type, int id, std::u16string_view path) {
    const std::u16string key = Resolve(path);
    if (folders_.count(Parent(key)) == 0 || !Writable(key)) return false;
    const std::string name = Narrow(type) + "/" + std::to_string(id);
    const auto content = resourceContent.find(name);
    files_[key] = content == resourceContent.end() ? name : content->second;
    names_.try_emplace(key, path);
    return true;
}

bool FakeFileSystem::WithoutFsRedirection(const std::function<void()>& operation) {
    if (!redirectionSwitchAvailable) return false;
    const bool old = redirectionOff_;
    redirectionOff_ = true;
    operation();
    redirectionOff_ = old;
    return true;
}

// The spooler.

std::u16string FakeSpooler::Environment(std::u16string_view environment) {
    return environment.empty() ? std::u16string(kEnvironmentX86) : std::u16string(environment);
}

bool FakeSpooler::Fail(std::string call) {
    journal_.Add(call + " failed");
    lastError_ = call;
    return false;
}

bool FakeSpooler::HasDriver(std::u16string_view name, std::u16string_view environment) const {
    return drivers.count({Environment(environment), std::u16string(name)}) != 0;
}

bool FakeSpooler::PrinterExists(std::u16string_view printerName) {
    return printers.count(std::u16string(printerName)) != 0;
}

bool FakeSpooler::DriverExists(std::u16string_view driverName, std::u16string_view environment) {
    return HasDriver(driverName, environment);
}

std::vector<std::u16string> FakeSpooler::MonitorNames() {
    std::vector<std::u16string> names{u"Local Port", u"Standard TCP/IP Port"};
    for (const auto& [name, record] : monitors) names.push_back(name);
    return names;
}

bool FakeSpooler::AddMonitor(const MonitorRecord& monitor) {
    const std::string call = "AddMonitor " + Narrow(monitor.name) + " " + Narrow(monitor.dllName);
    journal_.Add(call);
    // The spooler loads the library from the native system directory.
    const bool present = files_.Content(u"C:\\Windows\\system32\\" + monitor.dllName).has_value();
    if (addMonitorFails || monitors.count(monitor.name) != 0 || !present) return Fail(call);
    monitors[monitor.name] = monitor;
    return true;
}

bool FakeSpooler::DeleteMonitor(std::u16string_view monitorName) {
    const std::string call = "DeleteMonitor " + Narrow(monitorName);
    journal_.Add(call);
    if (deleteMonitorRefusals > 0) {
        --deleteMonitorRefusals;
        return Fail(call);
    }
    if (monitors.erase(std::u16string(monitorName)) == 0) return Fail(call);
    ports.erase(std::u16string(monitorName));
    return true;
}

bool FakeSpooler::AddDriver(const DriverRecord& driver) {
    const std::u16string environment = Environment(driver.environment);
    const std::string call = "AddDriver " + Narrow(driver.name) + " [" + Narrow(environment) + "]";
    journal_.Add(call);
    if (addDriverFailsFor.count(environment) != 0) return Fail(call);
    // Every file of the record must wait in the driver directory.
    std::vector<std::u16string> needed{driver.driverPath, driver.dataFile, driver.configFile};
    if (!driver.helpFile.empty()) needed.push_back(driver.helpFile);
    needed.insert(needed.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
    for (const std::u16string& file : needed)
        if (!files_.Content(DriverDirectory(environment) + file)) return Fail(call + " without " + Narrow(file));
    drivers[{environment, driver.name}] = driver;
    return true;
}

bool FakeSpooler::DeleteDriver(std::u16string_view driverName, std::u16string_view environment) {
    const std::string call = "DeleteDriver " + Narrow(driverName) + " [" + Narrow(Environment(environment)) + "]";
    journal_.Add(call);
    for (const auto& [name, printer] : printers)
        if (printer.driverName == driverName) return Fail(call);  // in use
    if (drivers.erase({Environment(environment), std::u16string(driverName)}) == 0) return Fail(call);
    return true;
}

Spooler::XcvResult FakeSpooler::SendPortCommand(std::u16string_view xcvObject, std::u16string_view command,
                                                std::u16string_view portName) {
    const std::string call = "xcv " + Narrow(xcvObject) + " " + Narrow(command) + " " + Narrow(portName);
    journal_.Add(call);
    constexpr std::u16string_view kPrefix = u",XcvMonitor ";
    const std::u16string monitor(xcvObject.substr(std::min(kPrefix.size(), xcvObject.size())));
    const bool known = monitor == u"Local Port" || monitors.count(monitor) != 0;
    if (xcvOpenFails || xcvObject.substr(0, kPrefix.size()) != kPrefix || !known) {
        Fail(call + " open");
        return XcvResult::kNotOpened;
    }
    if (xcvCallFails) {
        Fail(call);
        return XcvResult::kFailed;
    }
    // The monitor's own answer (a port that exists, one that does not) is in
    // its status word, which the tool does not look at.
    if (command == u"AddPort") {
        ports[monitor].insert(std::u16string(portName));
        if (registry != nullptr && monitor == kMonitorName)
            registry->CreateKey(std::u16string(kSetupPortsKeyPath) + std::u16string(portName));
    } else if (command == u"DeletePort") {
        ports[monitor].erase(std::u16string(portName));
    }
    return XcvResult::kDelivered;
}

bool FakeSpooler::AddPrinter(const PrinterRecord& printer) {
    const std::string call = "AddPrinter " + Narrow(printer.printerName);
    journal_.Add(call);
    bool portKnown = false;
    for (const auto& [monitor, names] : ports) portKnown = portKnown || names.count(printer.portName) != 0;
    if (addPrinterFails || printers.count(printer.printerName) != 0 || !portKnown ||
        !HasDriver(printer.driverName, native_))
        return Fail(call);
    printers[printer.printerName] = printer;
    return true;
}

Spooler::DeleteResult FakeSpooler::DeletePrinter(std::u16string_view printerName) {
    const std::string call = "DeletePrinter " + Narrow(printerName);
    journal_.Add(call);
    if (openPrinterFails || printers.count(std::u16string(printerName)) == 0) {
        Fail(call + " open");
        return DeleteResult::kNotOpened;
    }
    if (deletePrinterFails) {
        Fail(call);
        return DeleteResult::kFailed;
    }
    printers.erase(std::u16string(printerName));
    return DeleteResult::kDeleted;
}

void FakeSpooler::CancelAllJobs(std::u16string_view printerName) {
    if (openPrinterFails || printers.count(std::u16string(printerName)) == 0) return;
    journal_.Add("CancelAllJobs " + Narrow(printerName) + " " +
                 std::to_string(queuedJobs[std::u16string(printerName)]));
    queuedJobs.erase(std::u16string(printerName));
}

std::u16string FakeSpooler::DriverDirectory(std::u16string_view environment) {
    return Environment(environment) == kEnvironmentX64 ? u"C:\\Windows\\system32\\spool\\drivers\\x64\\"
                                                       : u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\";
}

std::u16string FakeSpooler::LastErrorText() {
    const std::string text = "Error of " + lastError_ + ".\r\n";
    return std::u16string(text.begin(), text.end());
}

// The service.

ServiceControl::Query FakeServiceControl::QuerySpooler() {
    journal_.Add("service query");
    if (!managerAvailable) return Query::kUnavailable;
    return running ? Query::kRunning : Query::kNotRunning;
}

bool FakeServiceControl::StartSpoolerService() {
    journal_.Add("service start");
    if (!managerAvailable || startRefused) return false;
    running = true;
    return true;
}

ServiceControl::StopResult FakeServiceControl::StopSpoolerService() {
    journal_.Add("service stop");
    if (!managerAvailable) return StopResult::kNoManager;
    if (stopRefused) return StopResult::kFailed;
    running = false;
    return StopResult::kStopped;
}

void FakeServiceControl::StartCommand(std::u16string_view commandLine) {
    journal_.Add("run " + Narrow(commandLine));
    if (netStartWorks && commandLine == u"net start spooler") running = true;
}

void FakeServiceControl::Sleep(int milliseconds) { journal_.Add("sleep " + std::to_string(milliseconds)); }

// The log and the progress bar.

bool FakeSetupLog::Write(std::u16string_view text, int status) {
    entries.emplace_back(text, status);
    journal_.Add("log " + std::to_string(status) + " " + Narrow(text));
    return true;
}

void FakeProgress::SetProgress(int newPosition) {
    position = newPosition;
    journal_.Add("progress " + std::to_string(newPosition));
}

// The machine.

FakeMachine::FakeMachine(int bitness)
    : spooler(journal, files, bitness == 32 ? kEnvironmentX86 : kEnvironmentX64),
      machine{spooler, services, files, log, progress, bitness, u"D:\\Release", u"C:\\Temp\\Setup"} {
    files.wow64 = bitness == 64;
    files.AddFolder(u"C:\\Windows\\system32\\spool\\drivers\\w32x86");
    if (bitness != 32) {
        files.AddFolder(u"C:\\Windows\\system32\\spool\\drivers\\x64");
        files.AddFolder(u"C:\\Windows\\SysWOW64");
    }
    files.AddFolder(u"C:\\Temp\\Setup");

    files.AddFile(u"D:\\Release\\Ruddock.exe", "program");
    files.AddFile(u"D:\\Release\\system32\\Korrim.exe", "system32/Korrim.exe");
    files.AddFile(u"D:\\Release\\system32\\extra\\Readme.txt", "system32/Readme.txt");
    files.AddFile(u"D:\\Release\\SysWOW64\\Tolvane\\Caskelui.dll", "SysWOW64/Caskelui.dll");
    files.AddFile(u"D:\\Release\\SysWOW64\\Tolvane\\Korrim.exe", "SysWOW64/Korrim.exe");
    for (std::u16string_view arch : {u"i386", u"amd64"}) {
        const std::u16string folder = u"D:\\Release\\QuillonDriver\\" + std::u16string(arch) + u"\\";
        std::vector<std::u16string> names{u"UNIDRV.dll",    u"UNIDRVUI.dll",  u"UNIRES.DLL",
                                          u"STDNAMES.GPD",  u"UNIDRV.HLP",    u"Yarrowby.GPD",
                                          u"TessaryUi.dll", u"TessaryUi.INI", u"TessarySys.dll"};
        if (arch == u"i386")
            names.insert(names.end(), {u"Pellmark.GPD", u"PellmarkUi.dll", u"PellmarkUi.INI", u"PellmarkUni.dll",
                                       u"PellmarkSys.dll"});
        for (const std::u16string& name : names) files.AddFile(folder + name, Narrow(arch) + "/" + Narrow(name));
        // A plug-in in a sub-folder lands flat beside the others.
        files.AddFile(folder + u"plugin\\TessaryUni.dll", Narrow(arch) + "/TessaryUni.dll");
    }
}

}  // namespace tolvane::testing
