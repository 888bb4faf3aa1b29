#include "setup/win32/setup_log_sinks.h"

#include "setup/win32/windows_api.h"

#include "common/win32/wide_text.h"
#include "setup/setup_log_format.h"

namespace tolvane {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    DWORD done = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
}

}  // namespace

FileSetupLog::FileSetupLog(std::u16string_view path) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        openError_ = GetLastError();
        return;
    }
    // A file without content, new or left empty, gets the mark; one with
    // entries of earlier runs gets no second one.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || (size.QuadPart == 0 && !WriteAll(file, kUtf16LeMark))) {
        openError_ = GetLastError();
        CloseHandle(file);
        return;
    }
    file_ = file;
}

FileSetupLog::~FileSetupLog() {
    if (file_ != nullptr) CloseHandle(static_cast<HANDLE>(file_));
}

bool FileSetupLog::Write(std::u16string_view text, int status) {
    if (file_ == nullptr) return false;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LogTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    const std::string bytes = LogEntryBytes(FormatLogEntry(time, status, text));
    const auto file = static_cast<HANDLE>(file_);
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END)) return false;
    return WriteAll(file, bytes);
}

}  // namespace tolvane
