#include "setup/win32/win32_spooler.h"

#include "setup/win32/windows_api.h"

#include <cstdint>

#include "common/win32/local_printers.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

static_assert(sizeof(DRIVER_INFO_3W) == sizeof(DWORD) + 9 * sizeof(LPWSTR), "DRIVER_INFO_3 as the SDK lays it out");
static_assert(sizeof(MONITOR_INFO_2W) == 3 * sizeof(LPWSTR), "MONITOR_INFO_2 as the SDK lays it out");

// The most jobs one removal lists, as the tool always did.
constexpr DWORD kMostJobs = 1024;

// Room for a driver directory: far more than the 512 bytes the tool used to
// offer, so a deep Windows folder is not refused.
constexpr DWORD kDriverDirectoryChars = 1024;

// Keeps the last error of a failed call across the clean-up that follows it.
class LastErrorKept {
public:
    LastErrorKept() : error_(GetLastError()) {}
    ~LastErrorKept() { SetLastError(error_); }
    LastErrorKept(const LastErrorKept&) = delete;
    LastErrorKept& operator=(const LastErrorKept&) = delete;

private:
    DWORD error_;
};

class PrinterHandle {
public:
    PrinterHandle() = default;
    ~PrinterHandle() {
        if (handle_ == nullptr) return;
        const LastErrorKept kept;
        ClosePrinter(handle_);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    // OpenPrinterW with the given defaults.
    bool Open(std::u16string_view name, const wchar_t* dataType, ACCESS_MASK access) {
        std::wstring wideName = ToWide(name);
        std::wstring type = dataType != nullptr ? std::wstring(dataType) : std::wstring();
        PRINTER_DEFAULTSW defaults{dataType != nullptr ? type.data() : nullptr, nullptr, access};
        return OpenPrinterW(wideName.data(), &handle_, &defaults) != FALSE;
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// What an Enum* call returned: its records in a buffer aligned for them.
struct Enumeration {
    std::vector<std::uint64_t> storage;
    DWORD count = 0;
    bool ok = false;

    BYTE* Data() { return storage.empty() ? nullptr : reinterpret_cast<BYTE*>(storage.data()); }
    template <typename Record>
    const Record* Records() const {
        return reinterpret_cast<const Record*>(storage.data());
    }
};

// Calls `call(buffer, size, &needed, &count)` first without a buffer, then with
// one of the size the spooler asked for (again if the list grew in between).
template <typename Call>
Enumeration Enumerate(Call call) {
    Enumeration result;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const auto size = static_cast<DWORD>(result.storage.size() * sizeof(std::uint64_t));
        DWORD needed = 0;
        DWORD count = 0;
        if (call(result.Data(), size, &needed, &count)) {
            result.count = count;
            result.ok = true;
            return result;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size) return result;
        result.storage.assign((needed + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    }
    return result;
}

// A writable copy of a text for the winspool structures (they take LPWSTR).
struct WideField {
    explicit WideField(std::u16string_view text) : text_(ToWide(text)) {}
    wchar_t* Get() { return text_.data(); }
    // Null for an empty text: "none" in the spooler's records.
    wchar_t* OrNull() { return text_.empty() ? nullptr : text_.data(); }

private:
    std::wstring text_;
};

bool SameName(const wchar_t* name, std::u16string_view wanted) { return name != nullptr && ToU16(name) == wanted; }

}  // namespace

std::u16string MultiStringList(const std::vector<std::u16string>& names) {
    std::u16string list;
    if (names.empty()) return list;
    for (const std::u16string& name : names) {
        list += name;
        list += u'\0';
    }
    list += u'\0';
    return list;
}

std::u16string SystemErrorText(unsigned long code) {
    wchar_t buffer[1024] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 1024, nullptr);
    if (length == 0)
        length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                                1024, nullptr);
    std::u16string text =
        length != 0 ? ToU16(std::wstring_view(buffer, length)) : u"Error " + ToU16(std::to_wstring(code));
    // The log writes such a text without a line break of its own.
    if (text.empty() || text.back() != u'\n') text += u"\r\n";
    return text;
}

bool Win32Spooler::PrinterExists(std::u16string_view printerName) {
    return LocalPrinterExists(std::u16string(printerName));
}

bool Win32Spooler::DriverExists(std::u16string_view driverName, std::u16string_view environment) {
    WideField wideEnvironment(environment);
    Enumeration drivers = Enumerate([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPrinterDriversW(nullptr, wideEnvironment.OrNull(), 3, buffer, size, needed, count) != FALSE;
    });
    if (!drivers.ok) return false;
    const auto* records = drivers.Records<DRIVER_INFO_3W>();
    for (DWORD i = 0; i < drivers.count; ++i)
        if (SameName(records[i].pName, driverName)) return true;
    return false;
}

std::vector<std::u16string> Win32Spooler::MonitorNames() {
    std::vector<std::u16string> names;
    Enumeration monitors = Enumerate([](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return EnumMonitorsW(nullptr, 1, buffer, size, needed, count) != FALSE;
    });
    if (!monitors.ok) return names;
    const auto* records = monitors.Records<MONITOR_INFO_1W>();
    for (DWORD i = 0; i < monitors.count; ++i) names.push_back(ToU16(records[i].pName));
    return names;
}

bool Win32Spooler::AddMonitor(const MonitorRecord& monitor) {
    WideField name(monitor.name), environment(monitor.environment), dll(monitor.dllName);
    // The environment goes as given: an empty text is the tool's record.
    MONITOR_INFO_2W info{name.Get(), environment.Get(), dll.Get()};
    return AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info)) != FALSE;
}

bool Win32Spooler::DeleteMonitor(std::u16string_view monitorName) {
    WideField name(monitorName);
    return DeleteMonitorW(nullptr, nullptr, name.Get()) != FALSE;
}

bool Win32Spooler::AddDriver(const DriverRecord& driver) {
    WideField name(driver.name), environment(driver.environment), driverPath(driver.driverPath),
        dataFile(driver.dataFile), configFile(driver.configFile), helpFile(driver.helpFile),
        dependentFiles(MultiStringList(driver.dependentFiles)), dataType(driver.defaultDataType);
    DRIVER_INFO_3W info{};
    info.cVersion = static_cast<DWORD>(driver.version);
    info.pName = name.Get();
    info.pEnvironment = environment.Get();  // an empty text, not none, when the record says so
    info.pDriverPath = driverPath.Get();
    info.pDataFile = dataFile.Get();
    info.pConfigFile = configFile.Get();
    info.pHelpFile = helpFile.OrNull();
    info.pDependentFiles = dependentFiles.OrNull();
    info.pMonitorName = nullptr;
    info.pDefaultDataType = dataType.OrNull();
    return AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&info)) != FALSE;
}

bool Win32Spooler::DeleteDriver(std::u16string_view driverName, std::u16string_view environment) {
    WideField name(driverName), wideEnvironment(environment);
    return DeletePrinterDriverW(nullptr, wideEnvironment.OrNull(), name.Get()) != FALSE;
}

Spooler::XcvResult Win32Spooler::SendPortCommand(std::u16string_view xcvObject, std::u16string_view command,
                                                 std::u16string_view portName) {
    PrinterHandle xcv;
    if (!xcv.Open(xcvObject, nullptr, SERVER_ALL_ACCESS)) return XcvResult::kNotOpened;
    const std::wstring wideCommand = ToWide(command);
    std::wstring port = ToWide(portName);  // c_str() carries the terminator the monitor expects
    const auto inputBytes = static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t));
    DWORD needed = 0;
    DWORD status = 0;
    const BOOL sent = XcvDataW(xcv.Get(), wideCommand.c_str(), reinterpret_cast<BYTE*>(port.data()), inputBytes,
                               nullptr, 0, &needed, &status);
    return sent ? XcvResult::kDelivered : XcvResult::kFailed;
}

bool Win32Spooler::AddPrinter(const PrinterRecord& printer) {
    WideField name(printer.printerName), share(printer.shareName), port(printer.portName), driver(printer.driverName),
        comment(u""), processor(printer.printProcessor), dataType(printer.dataType);
    PRINTER_INFO_2W info{};
    info.pPrinterName = name.Get();
    info.pShareName = share.OrNull();
    info.pPortName = port.Get();
    info.pDriverName = driver.Get();
    info.pComment = printer.emptyComment ? comment.Get() : nullptr;
    info.pPrintProcessor = processor.OrNull();
    info.pDatatype = dataType.OrNull();
    info.Attributes = printer.attributes;
    HANDLE handle = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (handle == nullptr) return false;
    ClosePrinter(handle);
    return true;
}

Spooler::DeleteResult Win32Spooler::DeletePrinter(std::u16string_view printerName) {
    PrinterHandle printer;
    if (!printer.Open(printerName, L"RAW", PRINTER_ALL_ACCESS)) return DeleteResult::kNotOpened;
    return ::DeletePrinter(printer.Get()) ? DeleteResult::kDeleted : DeleteResult::kFailed;
}

void Win32Spooler::CancelAllJobs(std::u16string_view printerName) {
    PrinterHandle printer;
    if (!printer.Open(printerName, L"RAW", PRINTER_ALL_ACCESS)) return;
    Enumeration jobs = Enumerate([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return EnumJobsW(printer.Get(), 0, kMostJobs, 1, buffer, size, needed, count) != FALSE;
    });
    if (!jobs.ok) return;  // Wine does not list jobs
    const auto* records = jobs.Records<JOB_INFO_1W>();
    for (DWORD i = 0; i < jobs.count; ++i) SetJobW(printer.Get(), records[i].JobId, 0, nullptr, JOB_CONTROL_DELETE);
}

std::u16string Win32Spooler::DriverDirectory(std::u16string_view environment) {
    WideField wideEnvironment(environment);
    std::vector<wchar_t> buffer(kDriverDirectoryChars, L'\0');
    DWORD needed = 0;
    auto size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    BOOL found = GetPrinterDriverDirectoryW(nullptr, wideEnvironment.OrNull(), 1,
                                            reinterpret_cast<BYTE*>(buffer.data()), size, &needed);
    if (!found && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > size) {
        buffer.assign(needed / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        found = GetPrinterDriverDirectoryW(nullptr, wideEnvironment.OrNull(), 1, reinterpret_cast<BYTE*>(buffer.data()),
                                           size, &needed);
    }
    if (!found) return {};
    buffer.back() = L'\0';
    return ToU16(buffer.data()) + u"\\";
}

std::u16string Win32Spooler::LastErrorText() { return SystemErrorText(GetLastError()); }

}  // namespace tolvane
