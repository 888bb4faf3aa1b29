#include "monitor/print_path/win32/spool_file.h"

#include "common/win32/procedure_address.h"
#include "monitor/print_path/kept_document.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

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

void DiscardUnfinishedDocument(FaxJob& job) {
    if (job.spoolPath[0] == L'\0') return;
    CloseSpoolFile(job);
    if (DeleteFileW(job.spoolPath)) {
        TraceStep(L"the unfinished document's spool file %ls deleted", job.spoolPath);
    } else {
        TraceStep(L"the unfinished document's spool file %ls cannot be deleted (error %lu)", job.spoolPath,
                  GetLastError());
    }
    job.spoolPath[0] = L'\0';
}

namespace {

// "<profile>\Unsent faxes" of the user the thread acts for; empty when the
// system does not tell.
std::wstring KeptDocumentsFolder() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    using ProfileFolderFunction = BOOL(WINAPI*)(HANDLE, LPWSTR, LPDWORD);
    std::wstring folder;
    if (HMODULE userenv = LoadLibraryW(L"userenv.dll")) {
        const auto profileFolder = ProcedureAddress<ProfileFolderFunction>(userenv, "GetUserProfileDirectoryW");
        wchar_t path[MAX_PATH + 1] = L"";
        DWORD size = MAX_PATH;
        if (profileFolder && profileFolder(token, path, &size)) folder = path;
        FreeLibrary(userenv);
    }
    CloseHandle(token);
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    const std::u16string name(kKeptDocumentsFolder);
    return folder + AsWide(name);
}

}  // namespace

std::u16string SpoolFileDocument::Path() const { return ToU16(path_.c_str()); }

bool SpoolFileDocument::Delete() { return DeleteFileW(path_.c_str()) != FALSE; }

std::u16string SpoolFileDocument::Keep() {
    const std::wstring folder = KeptDocumentsFolder();
    if (folder.empty() || (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
        TraceStep(L"no folder for unsent faxes (error %lu): the document stays at %ls", GetLastError(), path_.c_str());
        return Path();
    }
    // A copy, not a move: the new file takes the folder's permissions, which
    // let its user open it; a moved file would keep the spooler's.
    for (unsigned attempt = 1; attempt <= 50; ++attempt) {
        const std::u16string name = KeptDocumentFileName(ToU16(documentName_.c_str()), jobId_, attempt);
        const std::wstring target = folder + L"\\" + AsWide(name);
        if (CopyFileW(path_.c_str(), target.c_str(), /*bFailIfExists=*/TRUE)) {
            if (!DeleteFileW(path_.c_str())) {
                TraceStep(L"spool file %ls copied but not deleted (error %lu)", path_.c_str(), GetLastError());
            }
            path_ = target;
            return Path();
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            TraceStep(L"cannot copy the document to %ls (error %lu): it stays at %ls", target.c_str(), error,
                      path_.c_str());
            break;
        }
    }
    return Path();
}

}  // namespace tolvane
