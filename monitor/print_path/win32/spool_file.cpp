#include "monitor/print_path/win32/spool_file.h"

#include "monitor/win32/monitor.h"

namespace tolvane {

namespace {

constexpr DWORD kMaxTempFolder = 2048;
constexpr size_t kSpoolPathUnits = sizeof(FaxJob::spoolPath) / sizeof(FaxJob::spoolPath[0]);

}  // namespace

bool CreateSpoolFile(FaxJob& job) {
    wchar_t folder[kMaxTempFolder + 1] = L"";
    const DWORD length = GetTempPathW(kMaxTempFolder, folder);
    if (length == 0) return false;
    if (length > kMaxTempFolder) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return false;
    }
    // GetTempFileNameW writes MAX_PATH characters at most; the job keeps 1024.
    wchar_t path[MAX_PATH + 1] = L"";
    if (GetTempFileNameW(folder, L"FAX", 0, path) == 0) return false;
    static_assert(MAX_PATH + 1 <= kSpoolPathUnits);
    HANDLE file =
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        DeleteFileW(path);  // the empty name GetTempFileNameW reserved
        SetLastError(error);
        return false;
    }
    lstrcpynW(job.spoolPath, path, static_cast<int>(kSpoolPathUnits));
    job.spoolFile = file;
    return true;
}

bool AppendToSpoolFile(FaxJob& job, const BYTE* data, DWORD size) {
    if (job.spoolFile == INVALID_HANDLE_VALUE || job.spoolFile == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD done = 0;
    while (done < size) {
        DWORD written = 0;
        if (!WriteFile(job.spoolFile, data + done, size - done, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

void CloseSpoolFile(FaxJob& job) {
    if (job.spoolFile == INVALID_HANDLE_VALUE || job.spoolFile == nullptr) return;
    FlushFileBuffers(job.spoolFile);
    CloseHandle(job.spoolFile);
    job.spoolFile = INVALID_HANDLE_VALUE;
}

std::u16string SpoolFileDocument::Path() const { return ToU16(path_.c_str()); }

bool SpoolFileDocument::Delete() { return DeleteFileW(path_.c_str()) != FALSE; }

}  // namespace tolvane
