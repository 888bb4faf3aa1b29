#include "setup/win32/win32_file_system.h"

#include "setup/win32/windows_api.h"

#include "common/win32/procedure_address.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

class FindHandle {
public:
    FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& data) : handle_(FindFirstFileW(pattern.c_str(), &data)) {}
    ~FindHandle() {
        if (Valid()) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// A folder path from a call that fills a buffer of MAX_PATH characters, or a
// longer one when it asks for more.
template <typename Call>
std::u16string FolderFromCall(Call call) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    UINT length = call(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = call(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return {};
    buffer.resize(length);
    return ToU16(buffer);
}

using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using RevertRedirection = BOOL(WINAPI*)(PVOID);

// Turns the redirection back on when the operation ends, also by an exception.
class RedirectionOff {
public:
    RedirectionOff(DisableRedirection disable, RevertRedirection revert) : revert_(revert) {
        off_ = disable(&oldValue_) != FALSE;
    }
    ~RedirectionOff() {
        if (off_) revert_(oldValue_);
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;
    bool Off() const { return off_; }

private:
    RevertRedirection revert_;
    PVOID oldValue_ = nullptr;
    bool off_ = false;
};

}  // namespace

std::u16string Win32FileSystem::SystemDirectory() {
    return FolderFromCall([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::u16string Win32FileSystem::WindowsDirectory() {
    return FolderFromCall([](wchar_t* buffer, UINT size) { return GetSystemWindowsDirectoryW(buffer, size); });
}

bool Win32FileSystem::Exists(std::u16string_view path) {
    WIN32_FIND_DATAW data;
    const FindHandle found(ToWide(path), data);
    return found.Valid();
}

std::vector<FolderEntry> Win32FileSystem::ListFolder(std::u16string_view folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data;
    const FindHandle found(ToWide(folder) + L"\\*.*", data);
    if (!found.Valid()) return entries;
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..") continue;
        entries.push_back({ToU16(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(found.Get(), &data));
    return entries;
}

bool Win32FileSystem::CopyFile(std::u16string_view from, std::u16string_view to) {
    return CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), FALSE) != FALSE;
}

bool Win32FileSystem::FileStartsWith(std::u16string_view path, std::string_view prefix) {
    FileHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    std::string head(prefix.size(), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) return false;
    return read == head.size() && head == prefix;
}

bool Win32FileSystem::DeleteFile(std::u16string_view path) { return DeleteFileW(ToWide(path).c_str()) != FALSE; }

bool Win32FileSystem::CreateFolder(std::u16string_view path) {
    const std::wstring widePath = ToWide(path);
    if (CreateDirectoryW(widePath.c_str(), nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::RemoveFolder(std::u16string_view path) { return RemoveDirectoryW(ToWide(path).c_str()) != FALSE; }

bool Win32FileSystem::ExtractResource(std::u16string_view type, int id, std::u16string_view path) {
    // The resource first: a file that cannot be filled is not created (an
    // empty driver file would pass for a placed one).
    const std::wstring typeName = ToWide(type);
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), typeName.c_str());
    if (resource == nullptr) return false;
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr && size != 0) return false;

    const std::wstring widePath = ToWide(path);
    bool written = false;
    {
        const FileHandle file(CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        DWORD done = 0;
        written = size == 0 || (WriteFile(file.Get(), bytes, size, &done, nullptr) && done == size);
    }
    if (!written) {
        const DWORD error = GetLastError();
        DeleteFileW(widePath.c_str());  // a cut-off copy is worse than none
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    }
    return written;
}

bool Win32FileSystem::WithoutFsRedirection(const std::function<void()>& operation) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto disable = ProcedureAddress<DisableRedirection>(kernel, "Wow64DisableWow64FsRedirection");
    const auto revert = ProcedureAddress<RevertRedirection>(kernel, "Wow64RevertWow64FsRedirection");
    if (disable == nullptr || revert == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    const RedirectionOff off(disable, revert);
    // Not a 32-bit process on 64-bit Windows: there is no redirection to lift,
    // and copies meant for the native folder would land in the 32-bit one.
    if (!off.Off()) return false;
    operation();
    return true;
}

bool ReadFileBytes(std::u16string_view path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    const FileHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) ||
            read == 0) {
            bytes.clear();
            return false;
        }
        done += read;
    }
    return true;
}

}  // namespace tolvane
