#include "setup/win32/advapi_key_store.h"

#include "setup/win32/windows_api.h"

#include "common/win32/administrators_only_key.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

REGSAM SamFor(KeyAccess access) {
    switch (access) {
    case KeyAccess::kRead:
        return KEY_READ;
    case KeyAccess::kWrite:
        return KEY_WRITE;
    case KeyAccess::kAll:
        break;
    }
    return KEY_ALL_ACCESS;
}

class OpenedKey {
public:
    OpenedKey(const std::u16string& path, REGSAM access)
        : status_(RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(path), 0, access, &key_)) {}
    ~OpenedKey() {
        if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    LONG Status() const { return status_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
    LONG status_;
};

}  // namespace

std::uint32_t AdvapiKeyStore::OpenKey(const std::u16string& path, KeyAccess access) {
    return static_cast<std::uint32_t>(OpenedKey(path, SamFor(access)).Status());
}

std::uint32_t AdvapiKeyStore::CreateKey(const std::u16string& path) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, AsWide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return static_cast<std::uint32_t>(result);
}

std::uint32_t AdvapiKeyStore::DeleteKey(const std::u16string& path) {
    return static_cast<std::uint32_t>(RegDeleteKeyW(HKEY_LOCAL_MACHINE, AsWide(path)));
}

std::uint32_t AdvapiKeyStore::EnumSubkey(const std::u16string& path, std::uint32_t index, std::size_t maxNameLength,
                                         std::u16string& name) {
    const OpenedKey key(path, KEY_READ);
    if (key.Status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.Status());
    std::wstring buffer(maxNameLength + 1, L'\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG result = RegEnumKeyExW(key.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return static_cast<std::uint32_t>(result);
    name.assign(reinterpret_cast<const char16_t*>(buffer.data()), length < maxNameLength ? length : maxNameLength);
    return ERROR_SUCCESS;
}

std::uint32_t AdvapiKeyStore::QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                                         std::vector<std::uint8_t>& data) {
    data.clear();
    const OpenedKey key(path, KEY_READ);
    if (key.Status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.Status());
    std::vector<std::uint8_t> buffer(maxBytes, 0);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(maxBytes);
    const LONG result = RegQueryValueExW(key.Get(), AsWide(name), nullptr, &type, buffer.data(), &size);
    if (result != ERROR_SUCCESS) return static_cast<std::uint32_t>(result);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
    buffer.resize(size < maxBytes ? size : maxBytes);
    data = std::move(buffer);
    return ERROR_SUCCESS;
}

std::uint32_t AdvapiKeyStore::SetStringValue(const std::u16string& path, const std::u16string& name,
                                             const std::u16string& text) {
    const OpenedKey key(path, KEY_WRITE);
    if (key.Status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.Status());
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
    return static_cast<std::uint32_t>(RegSetValueExW(key.Get(), AsWide(name), 0, REG_SZ, bytes, size));
}

std::uint32_t AdvapiKeyStore::DeleteValue(const std::u16string& path, const std::u16string& name) {
    const OpenedKey key(path, KEY_WRITE);
    if (key.Status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.Status());
    return static_cast<std::uint32_t>(RegDeleteValueW(key.Get(), AsWide(name)));
}

std::uint32_t AdvapiKeyStore::RestrictToAdministrators(const std::u16string& path) {
    return static_cast<std::uint32_t>(RestrictKeyToAdministrators(HKEY_LOCAL_MACHINE, AsWide(path)));
}

}  // namespace tolvane
