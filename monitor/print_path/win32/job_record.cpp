#include "monitor/print_path/win32/job_record.h"

#include <winspool.h>

#include <vector>

namespace tolvane {

namespace {

constexpr DWORD kJobRecordBytes = 4096;
constexpr size_t kMaxRecordName = 1023;

class OpenedPrinter {
public:
    explicit OpenedPrinter(const std::wstring& name) {
        // No access asked: the spooler grants the printing user's own rights,
        // which cover reading and controlling that user's job.
        if (name.empty() || !OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle_, nullptr)) handle_ = nullptr;
    }
    ~OpenedPrinter() {
        if (handle_ != nullptr) ClosePrinter(handle_);
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

std::wstring Bounded(const wchar_t* text) {
    if (text == nullptr) return {};
    std::wstring value(text);
    if (value.size() > kMaxRecordName) value.resize(kMaxRecordName);
    return value;
}

}  // namespace

bool ReadJobOrigin(const std::wstring& printerName, DWORD jobId, JobOrigin& origin) {
    origin = JobOrigin{};
    if (jobId == 0) return false;
    OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) return false;
    // DWORD-aligned, as the record holds pointers.
    std::vector<DWORD> buffer(kJobRecordBytes / sizeof(DWORD));
    DWORD needed = 0;
    if (!GetJobW(printer.Get(), jobId, 1, reinterpret_cast<LPBYTE>(buffer.data()), kJobRecordBytes, &needed))
        return false;
    const auto* record = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    origin.machineName = Bounded(record->pMachineName);
    origin.userName = Bounded(record->pUserName);
    return true;
}

DWORD FindPrintingJob(const std::wstring& printerName, const std::wstring& documentName) {
    OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) return 0;
    std::vector<DWORD> buffer(kJobRecordBytes / sizeof(DWORD));
    for (DWORD id = 1; id <= kJobProbeLimit; ++id) {
        DWORD needed = 0;
        if (!GetJobW(printer.Get(), id, 1, reinterpret_cast<LPBYTE>(buffer.data()), kJobRecordBytes, &needed)) continue;
        const auto* record = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
        if (record->pDocument != nullptr && documentName == record->pDocument &&
            (record->Status & (JOB_STATUS_PRINTED | JOB_STATUS_DELETED)) == 0)
            return id;
    }
    return 0;
}

std::wstring PrinterOfPort(const std::wstring& portName) {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    if (needed == 0) return {};
    std::vector<DWORD> buffer(needed / sizeof(DWORD) + 1);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<LPBYTE>(buffer.data()),
                       static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed, &count))
        return {};
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (printers[i].pPortName != nullptr && printers[i].pPrinterName != nullptr &&
            lstrcmpiW(printers[i].pPortName, portName.c_str()) == 0)
            return printers[i].pPrinterName;
    }
    return {};
}

std::wstring LocalComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 256] = L"";
    DWORD size = static_cast<DWORD>(sizeof name / sizeof name[0]);
    if (!GetComputerNameW(name, &size)) return {};
    return name;
}

bool MarkJobSent(const std::wstring& printerName, DWORD jobId) {
    if (jobId == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) return false;
    return SetJobW(printer.Get(), jobId, 0, nullptr, JOB_CONTROL_SENT_TO_PRINTER) != FALSE;
}

bool JobIsCancelled(const std::wstring& printerName, DWORD jobId) {
    if (jobId == 0) return false;
    OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) return false;
    std::vector<DWORD> buffer(kJobRecordBytes / sizeof(DWORD));
    DWORD needed = 0;
    if (!GetJobW(printer.Get(), jobId, 1, reinterpret_cast<LPBYTE>(buffer.data()), kJobRecordBytes, &needed))
        return false;
    const auto* record = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    return (record->Status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED)) != 0;
}

bool MarkJobFailed(const std::wstring& printerName, DWORD jobId, const std::wstring& status) {
    if (jobId == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    OpenedPrinter printer(printerName);
    if (printer.Get() == nullptr) return false;
    std::vector<DWORD> buffer(kJobRecordBytes / sizeof(DWORD));
    DWORD needed = 0;
    if (!GetJobW(printer.Get(), jobId, 1, reinterpret_cast<LPBYTE>(buffer.data()), kJobRecordBytes, &needed))
        return false;
    auto* record = reinterpret_cast<JOB_INFO_1W*>(buffer.data());
    std::wstring text = status;
    record->pStatus = text.data();
    record->Status |= JOB_STATUS_ERROR;
    record->Position = JOB_POSITION_UNSPECIFIED;
    return SetJobW(printer.Get(), jobId, 1, reinterpret_cast<LPBYTE>(record), 0) != FALSE;
}

}  // namespace tolvane
