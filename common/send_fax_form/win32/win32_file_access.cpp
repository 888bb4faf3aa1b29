#include "common/send_fax_form/win32/win32_file_access.h"

#include <windows.h>

namespace tolvane {

namespace {

// Address-book files are small text files; anything beyond this is refused
// rather than read into memory.
constexpr DWORD kMaxFileBytes = 64 * 1024 * 1024;

}  // namespace

bool Win32FileAccess::FolderExists(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileAccess::CreateFolder(const std::string& folder) { return CreateDirectoryA(folder.c_str(), nullptr) != 0; }

bool Win32FileAccess::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileAccess::ReadWholeFile(const std::string& path, std::string& content) {
    // A spreadsheet showing numbers.csv holds it open for writing; refusing to
    // share with it would leave the whole book unusable. Delete sharing lets
    // another run replace the file while this one reads it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFileBytes) {
        std::string buffer(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = buffer.empty() || (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
                                read == buffer.size());
        if (ok) content = std::move(buffer);
    }
    CloseHandle(file);
    return ok;
}

bool Win32FileAccess::WriteWholeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        content.empty() || (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                            written == content.size());
    return CloseHandle(file) && ok;
}

// MoveFileEx, not ReplaceFile: one rename, which Windows refuses over a file
// that another program holds open without delete sharing, where ReplaceFile
// can stop with the old file renamed half-way. Windows refuses it over a
// read-only file too, but Wine run by root renames over one (measured); the
// attribute is checked here so that a book made read-only stays as it is.
bool Win32FileAccess::ReplaceFileWith(const std::string& path, const std::string& replacement) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExA(replacement.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileAccess::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace tolvane
