// The setup tool's machine under Wine: the setup log file, files and
// resources with the WoW64 redirection switch, the registry the "/set" option
// writes through, the print spooler's objects and the "Spooler" service.

#include "setup/win32/windows_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/port_settings/port_settings_store.h"
#include "common/port_values.h"
#include "common/win32/wide_text.h"
#include "setup/file_toolkit.h"
#include "setup/win32/advapi_key_store.h"
#include "setup/win32/setup_log_sinks.h"
#include "setup/win32/win32_file_system.h"
#include "setup/win32/win32_service_control.h"
#include "setup/win32/win32_spooler.h"

namespace tolvane {
namespace {

// A fresh folder under the temporary folder, removed with its files afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* name) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = ToU16(temp) + ToU16(name);
        DeleteTree(files_, path_);
        CreateDirectoryW(AsWide(path_), nullptr);
    }
    ~ScratchFolder() { DeleteTree(files_, path_); }
    std::u16string File(std::u16string_view name) const { return JoinPath(path_, name); }
    const std::u16string& Path() const { return path_; }

private:
    Win32FileSystem files_;
    std::u16string path_;
};

std::string Bytes(const std::u16string& path) {
    std::string bytes;
    ReadFileBytes(path, 1 << 20, bytes);
    return bytes;
}

void WriteBytes(const std::u16string& path, std::string_view bytes) {
    HANDLE file = CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

// The UTF-16LE text of a log file after its byte-order mark.
std::u16string LogText(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text +=
            static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

// "yyyy/mm/dd\thh:mm:ss\t" with blank padding: 20 characters before the status.
bool IsStampedLine(std::u16string_view line) {
    if (line.size() < 24) return false;
    const std::u16string_view pattern = u"9999/99/99\t99:99:99\t";
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = line[i];
        if (pattern[i] == u'9' ? !(c == u' ' || (c >= u'0' && c <= u'9')) : c != pattern[i]) return false;
    }
    return true;
}

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    if (from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

// --- the setup log file -----------------------------------------------------

TEST(SetupLogFile, ANewFileBeginsWithTheMarkAndASecondRunAppendsWithoutOne) {
    ScratchFolder folder(L"tolvane-log-test");
    const std::u16string path = folder.File(u"Setup.log");
    {
        FileSetupLog log(path);
        ASSERT_TRUE(log.IsOpen());
        EXPECT_TRUE(log.Write(u"Program Start Running...", kLogSuccess));
        EXPECT_TRUE(log.Write(u"Add Tolvane Driver Failed!", kLogFailure));
    }
    {
        FileSetupLog log(path);
        EXPECT_TRUE(log.Write(u"End Program!", kLogSuccess));
    }
    const std::string bytes = Bytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    const std::u16string text = LogText(bytes);
    EXPECT_EQ(text.find(u'\xFEFF'), std::u16string::npos) << "a second byte-order mark";
    const std::vector<std::u16string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::u16string& line : lines) EXPECT_TRUE(IsStampedLine(line)) << ToWide(line).c_str();
    EXPECT_EQ(lines[0].substr(20), u" 1\tProgram Start Running...");
    EXPECT_EQ(lines[1].substr(20), u" 0\tAdd Tolvane Driver Failed!");
    EXPECT_EQ(lines[2].substr(20), u" 1\tEnd Program!");
    EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
}

TEST(SetupLogFile, ASystemErrorTextEndsItsOwnLine) {
    ScratchFolder folder(L"tolvane-log-error");
    const std::u16string path = folder.File(u"Setup.log");
    {
        FileSetupLog log(path);
        SetLastError(ERROR_ACCESS_DENIED);
        Win32Spooler spooler;
        EXPECT_TRUE(log.Write(spooler.LastErrorText(), kLogSystemError));
        EXPECT_TRUE(log.Write(u"Add Tolvane Printer Failed!", kLogFailure));
    }
    const std::vector<std::u16string> lines = Lines(LogText(Bytes(path)));
    ASSERT_EQ(lines.size(), 2u) << "no empty line after the system's text";
    EXPECT_EQ(lines[0].substr(20, 3), u"-1\t");
    EXPECT_GT(lines[0].size(), 23u);
    EXPECT_EQ(lines[1].substr(20), u" 0\tAdd Tolvane Printer Failed!");
}

TEST(SetupLogFile, HeldOpenWithoutSharingASecondCopyDropsItsEntries) {
    ScratchFolder folder(L"tolvane-log-shared");
    const std::u16string path = folder.File(u"Setup.log");
    FileSetupLog first(path);
    ASSERT_TRUE(first.IsOpen());
    HANDLE reader =
        CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(reader, INVALID_HANDLE_VALUE);
    if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
    FileSetupLog second(path);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.Write(u"lost", kLogSuccess));
    EXPECT_TRUE(first.Write(u"kept", kLogSuccess));
}

TEST(SetupLogFile, AnEmptyFileGetsTheMarkAndAnUnopenableOneNothing) {
    ScratchFolder folder(L"tolvane-log-empty");
    const std::u16string path = folder.File(u"empty.log");
    WriteBytes(path, "");
    { FileSetupLog log(path); }
    EXPECT_EQ(Bytes(path), std::string("\xFF\xFE", 2));

    FileSetupLog missing(folder.File(u"no such folder\\x.log"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.OpenError(), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(missing.Write(u"entry", kLogSuccess));
    DiscardingSetupLog discarding;
    EXPECT_TRUE(discarding.Write(u"entry", kLogSuccess));
}

// --- files and resources ------------------------------------------------------

TEST(Files, ResourcesAreWrittenWholeAndAMissingOneMakesNoFile) {
    ScratchFolder folder(L"tolvane-extract");
    Win32FileSystem files;
    const std::u16string path = folder.File(u"extracted.bin");
    WriteBytes(path, std::string(4096, 'x'));  // an older, longer copy
    ASSERT_TRUE(files.ExtractResource(u"TESTDATA", 7, path));
    EXPECT_EQ(Bytes(path), std::string("Tolvane\0resource\r\n", 18));

    const std::u16string absent = folder.File(u"absent.bin");
    EXPECT_FALSE(files.ExtractResource(u"TESTDATA", 8, absent));
    EXPECT_FALSE(files.Exists(absent));
    EXPECT_FALSE(files.ExtractResource(u"NOSUCHTYPE", 7, absent));
    EXPECT_FALSE(files.Exists(absent));
    // A missing resource leaves a file of that name as it was.
    EXPECT_FALSE(files.ExtractResource(u"TESTDATA", 8, path));
    EXPECT_EQ(Bytes(path).size(), 18u);
    EXPECT_FALSE(files.ExtractResource(u"TESTDATA", 7, folder.File(u"no folder\\x.bin")));
}

TEST(Files, FoldersAndCopies) {
    ScratchFolder folder(L"tolvane-files");
    Win32FileSystem files;
    const std::u16string sub = folder.File(u"sub");
    EXPECT_TRUE(files.CreateFolder(sub));
    EXPECT_TRUE(files.CreateFolder(sub)) << "an existing folder counts as made";
    WriteBytes(folder.File(u"a.txt"), "new");
    WriteBytes(JoinPath(sub, u"b.txt"), "old and longer");
    EXPECT_FALSE(files.CreateFolder(folder.File(u"a.txt"))) << "a file of that name is no folder";
    EXPECT_FALSE(files.CreateFolder(folder.File(u"x\\y"))) << "parents are not made";

    std::vector<FolderEntry> entries = files.ListFolder(folder.Path());
    ASSERT_EQ(entries.size(), 2u);
    for (const FolderEntry& entry : entries) EXPECT_EQ(entry.isFolder, entry.name == u"sub");
    EXPECT_TRUE(files.ListFolder(folder.File(u"missing")).empty());

    EXPECT_TRUE(files.CopyFile(folder.File(u"a.txt"), JoinPath(sub, u"b.txt")));
    EXPECT_EQ(Bytes(JoinPath(sub, u"b.txt")), "new");
    EXPECT_FALSE(files.CopyFile(folder.File(u"missing.txt"), JoinPath(sub, u"c.txt")));
    EXPECT_FALSE(files.RemoveFolder(sub)) << "a folder with files stays";
    EXPECT_TRUE(files.DeleteFile(JoinPath(sub, u"b.txt")));
    EXPECT_FALSE(files.Exists(JoinPath(sub, u"b.txt")));
    EXPECT_TRUE(files.RemoveFolder(sub));

    EXPECT_FALSE(files.SystemDirectory().empty());
    EXPECT_FALSE(files.WindowsDirectory().empty());
}

TEST(Files, TheRedirectionSwitchReachesTheNativeSystemDirectory) {
    char bitness[8] = {};
    GetEnvironmentVariableA("TOLVANE_EXPECT_BITNESS", bitness, sizeof bitness);
    Win32FileSystem files;
    const std::u16string probe = JoinPath(files.SystemDirectory(), u"tolvane-redirection-probe.txt");
    bool ran = false;
    const bool switched = files.WithoutFsRedirection([&] {
        ran = true;
        WriteBytes(probe, "native");
    });
    if (std::string(bitness) != "64") {
        // A 32-bit system has no redirection to switch off.
        EXPECT_FALSE(switched);
        EXPECT_FALSE(ran);
        return;
    }
    ASSERT_TRUE(switched);
    EXPECT_TRUE(ran);
    // With the redirection in force again, the 32-bit side does not see it.
    EXPECT_FALSE(files.Exists(probe));
    bool seen = false;
    files.WithoutFsRedirection([&] {
        seen = files.Exists(probe);
        files.DeleteFile(probe);
    });
    EXPECT_TRUE(seen);
}

TEST(Files, ReadingAWholeFileRefusesALongerOne) {
    ScratchFolder folder(L"tolvane-read");
    const std::u16string path = folder.File(u"ten.txt");
    WriteBytes(path, "0123456789");
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, 10, bytes));
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_FALSE(ReadFileBytes(path, 9, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadFileBytes(folder.File(u"missing.txt"), 10, bytes));
}

// --- the registry -------------------------------------------------------------

class Registry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    void Clean() {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TolvaneShellTest\\B");
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TolvaneShellTest\\A");
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TolvaneShellTest");
    }
    AdvapiKeyStore store_;
    const std::u16string root_ = u"SOFTWARE\\TolvaneShellTest";
};

TEST_F(Registry, KeysAndTextValuesUnderTheLocalMachine) {
    EXPECT_EQ(store_.OpenKey(root_, KeyAccess::kRead), win_error::kFileNotFound);
    ASSERT_EQ(store_.CreateKey(root_ + u"\\A"), win_error::kSuccess);
    ASSERT_EQ(store_.CreateKey(root_ + u"\\B"), win_error::kSuccess);
    EXPECT_EQ(store_.OpenKey(root_, KeyAccess::kWrite), win_error::kSuccess);
    EXPECT_EQ(EnumerateSubkeys(store_, root_, 10), (std::vector<std::u16string>{u"A", u"B"}));
    std::u16string name;
    EXPECT_EQ(store_.EnumSubkey(root_, 2, 10, name), win_error::kNoMoreItems);

    ASSERT_EQ(store_.SetStringValue(root_ + u"\\A", u"Server", u"10.0.0.1"), win_error::kSuccess);
    std::u16string text;
    EXPECT_TRUE(ReadStringValue(store_, root_ + u"\\A", u"Server", 100, text));
    EXPECT_EQ(text, u"10.0.0.1");
    std::vector<std::uint8_t> data;
    EXPECT_EQ(store_.QueryValue(root_ + u"\\A", u"Server", 4, data), win_error::kMoreData);
    EXPECT_TRUE(data.empty());

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TolvaneShellTest\\A", 0, KEY_WRITE, &key), ERROR_SUCCESS);
    const DWORD number = 3;
    RegSetValueExW(key, L"Typed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    EXPECT_EQ(store_.QueryValue(root_ + u"\\A", u"Typed", 64, data), win_error::kUnsupportedType);
    EXPECT_TRUE(data.empty());

    EXPECT_EQ(store_.DeleteValue(root_ + u"\\A", u"Server"), win_error::kSuccess);
    EXPECT_FALSE(ReadStringValue(store_, root_ + u"\\A", u"Server", 100, text));
    EXPECT_NE(store_.DeleteKey(root_), win_error::kSuccess) << "a key with subkeys stays";
    EXPECT_EQ(store_.RestrictToAdministrators(root_ + u"\\B"), win_error::kSuccess);
    EXPECT_EQ(store_.OpenKey(root_ + u"\\B", KeyAccess::kAll), win_error::kSuccess);
}

TEST_F(Registry, PortSettingsGoUnderTheControlSetInUse) {
    // The key the monitor's "AddPort" makes, as the spooler sees it.
    const std::u16string ports(kSetupPortsKeyPath);
    const std::u16string port = ports + u"TolvaneShellTestPort";
    ASSERT_EQ(store_.CreateKey(port), win_error::kSuccess);
    PortSettingsStore settings(store_);
    EXPECT_TRUE(settings.WritePortValue(u"TolvaneShellTestPort", value::kServer, u"192.0.2.7"));
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"System\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\TolvaneShellTestPort", 0,
                      KEY_READ, &key),
        ERROR_SUCCESS);
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"Server", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, L"192.0.2.7");
    RegCloseKey(key);
    EXPECT_EQ(store_.DeleteValue(port, u"Server"), win_error::kSuccess);
    EXPECT_EQ(store_.DeleteKey(port), win_error::kSuccess);
}

// --- the print spooler ----------------------------------------------------------

TEST(Spooler, DependentFilesAreADoubleNullList) {
    EXPECT_EQ(MultiStringList({}), u"");
    EXPECT_EQ(MultiStringList({u"PSCRIPT5.DLL"}), std::u16string(u"PSCRIPT5.DLL\0\0", 14));
    EXPECT_EQ(MultiStringList({u"A", u"BC"}), std::u16string(u"A\0BC\0\0", 6));
}

TEST(Spooler, SystemErrorTextsEndInALineBreak) {
    const std::u16string denied = SystemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_GT(denied.size(), 2u);
    EXPECT_EQ(denied.substr(denied.size() - 2), u"\r\n");
    EXPECT_EQ(SystemErrorText(0x2FFFFFF0u), u"Error 805306352\r\n");
}

TEST(Spooler, MissingObjectsAreToldApart) {
    Win32Spooler spooler;
    EXPECT_FALSE(spooler.PrinterExists(u"Tolvane Shell No Such Printer"));
    EXPECT_FALSE(spooler.DriverExists(u"Tolvane Shell No Such Driver", u""));
    EXPECT_EQ(spooler.DeletePrinter(u"Tolvane Shell No Such Printer"), Spooler::DeleteResult::kNotOpened);
    EXPECT_EQ(spooler.SendPortCommand(u",XcvMonitor Tolvane Shell No Such Monitor", u"AddPort", u"Z"),
              Spooler::XcvResult::kNotOpened);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "the failing call's error is kept";
    spooler.CancelAllJobs(u"Tolvane Shell No Such Printer");
    EXPECT_FALSE(spooler.AddMonitor({u"Tolvane Shell Test", u"", u"TolvaneShellNoSuchMonitor.dll"}));
    EXPECT_FALSE(spooler.LastErrorText().empty());
    const std::vector<std::u16string> monitors = spooler.MonitorNames();
    EXPECT_FALSE(monitors.empty()) << "the spooler has its own monitors";
    EXPECT_EQ(std::count(monitors.begin(), monitors.end(), u"Tolvane Shell Test"), 0);
}

TEST(Spooler, DriverDirectoriesOfBothEnvironments) {
    Win32Spooler spooler;
    const std::u16string own = spooler.DriverDirectory(u"");
    const std::u16string x86 = spooler.DriverDirectory(kEnvironmentX86);
    const std::u16string x64 = spooler.DriverDirectory(kEnvironmentX64);
    for (const std::u16string& folder : {own, x86, x64}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), u'\\');
    }
    EXPECT_EQ(own, x86) << "a 32-bit process's own environment is x86";
    EXPECT_NE(x86, x64);
}

// A driver of the record the installers build, for each environment, and a
// printer on it: added, found, and removed.
TEST(Spooler, DriverAndPrinterRecordsReachTheSpooler) {
    Win32Spooler spooler;
    Win32FileSystem files;
    const std::u16string driverName = u"Tolvane Shell Test Driver";
    const std::u16string printerName = u"Tolvane Shell Test Printer";
    const std::u16string fileNames[] = {u"TSTDRV.DLL", u"TSTDRV.PPD", u"TSTUI.DLL", u"TSTDRV.HLP"};
    for (std::u16string_view environment : {std::u16string_view(u""), kEnvironmentX64}) {
        const std::u16string folder = spooler.DriverDirectory(environment);
        for (const std::u16string& name : fileNames) WriteBytes(JoinPath(folder, name), "*PPD-Adobe: \"4.3\"\n");
        DriverRecord driver;
        driver.name = driverName;
        driver.environment = environment;  // empty: as the 32-bit installer passes it
        driver.driverPath = u"TSTDRV.DLL";
        driver.dataFile = u"TSTDRV.PPD";
        driver.configFile = u"TSTUI.DLL";
        driver.helpFile = u"TSTDRV.HLP";
        driver.dependentFiles = {u"TSTDRV.DLL"};
        driver.defaultDataType = u"NT EMF 1.008";
        ASSERT_TRUE(spooler.AddDriver(driver)) << ToWide(spooler.LastErrorText()).c_str();
    }
    EXPECT_TRUE(spooler.DriverExists(driverName, kEnvironmentX86));
    EXPECT_TRUE(spooler.DriverExists(driverName, kEnvironmentX64));

    // The dependent files arrive as the one-entry list.
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(L"Windows NT x86"), 3, nullptr, 0, &needed, &count);
    std::vector<std::uint64_t> buffer(needed / 8 + 1);
    ASSERT_TRUE(EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(L"Windows NT x86"), 3,
                                    reinterpret_cast<BYTE*>(buffer.data()), needed, &needed, &count));
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < count; ++i) {
        if (drivers[i].pName == nullptr || ToU16(drivers[i].pName) != driverName) continue;
        found = true;
        ASSERT_NE(drivers[i].pDependentFiles, nullptr);
        const std::wstring first(drivers[i].pDependentFiles);
        EXPECT_NE(first.find(L"TSTDRV.DLL"), std::wstring::npos);
        EXPECT_EQ(drivers[i].pDependentFiles[first.size() + 1], L'\0') << "one entry, then the list's end";
    }
    EXPECT_TRUE(found);

    PrinterRecord printer;
    printer.printerName = printerName;
    printer.portName = u"FILE:";
    printer.driverName = driverName;
    printer.printProcessor = u"WinPrint";
    printer.dataType = u"RAW";
    printer.attributes = 4;
    ASSERT_TRUE(spooler.AddPrinter(printer)) << ToWide(spooler.LastErrorText()).c_str();
    EXPECT_TRUE(spooler.PrinterExists(printerName));
    EXPECT_FALSE(spooler.PrinterExists(u"tolvane shell test printer")) << "names compare exactly";
    spooler.CancelAllJobs(printerName);
    EXPECT_EQ(spooler.DeletePrinter(printerName), Spooler::DeleteResult::kDeleted);
    EXPECT_FALSE(spooler.PrinterExists(printerName));

    EXPECT_TRUE(spooler.DeleteDriver(driverName, kEnvironmentX64));
    EXPECT_TRUE(spooler.DeleteDriver(driverName, u""));
    EXPECT_FALSE(spooler.DriverExists(driverName, kEnvironmentX86));
    EXPECT_FALSE(spooler.DriverExists(driverName, kEnvironmentX64));
}

// --- the service ------------------------------------------------------------------

TEST(Service, TheSpoolerStopsAndStartsAgain) {
    Win32ServiceControl services(/*hiddenCommands=*/true);
    EXPECT_NE(services.QuerySpooler(), ServiceControl::Query::kUnavailable);
    services.StartSpoolerService();  // may be running already
    EXPECT_EQ(services.QuerySpooler(), ServiceControl::Query::kRunning);
    EXPECT_EQ(services.StopSpoolerService(), ServiceControl::StopResult::kStopped);
    ServiceControl::Query state = ServiceControl::Query::kRunning;
    for (int i = 0; i < 50 && state == ServiceControl::Query::kRunning; ++i) {
        services.Sleep(100);
        state = services.QuerySpooler();
    }
    EXPECT_EQ(state, ServiceControl::Query::kNotRunning);
    EXPECT_TRUE(services.StartSpoolerService());
    EXPECT_EQ(services.QuerySpooler(), ServiceControl::Query::kRunning);
}

TEST(Service, StartedCommandsRunOnTheirOwn) {
    ScratchFolder folder(L"tolvane-command");
    const std::u16string marker = folder.File(u"ran.txt");
    Win32ServiceControl services(/*hiddenCommands=*/true);
    services.StartCommand(u"cmd /c echo ran> \"" + marker + u"\"");
    Win32FileSystem files;
    // A cold command interpreter under emulation takes its time.
    for (int i = 0; i < 1200 && !files.Exists(marker); ++i) services.Sleep(100);
    EXPECT_TRUE(files.Exists(marker));
    services.StartCommand(u"Tolvane-no-such-program.exe");  // not reported, no harm
}

}  // namespace
}  // namespace tolvane
