#include "monitor/win32/spooler_key_store.h"

#include "common/win32/administrators_only_key.h"

#include <cstring>
#include <vector>

#include "common/win32/wide_text.h"
#include "monitor/win32/monitor_trace.h"

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

// Sets the thread aside from the user it acts for until the object goes.
class ProcessIdentity {
public:
    ProcessIdentity() {
        if (!OpenThreadToken(GetCurrentThread(), TOKEN_IMPERSONATE, TRUE, &token_)) {
            token_ = nullptr;
        } else if (!RevertToSelf()) {
            CloseHandle(token_);
            token_ = nullptr;
        }
    }
    ~ProcessIdentity() {
        if (token_ == nullptr) return;
        SetThreadToken(nullptr, token_);
        CloseHandle(token_);
    }
    ProcessIdentity(const ProcessIdentity&) = delete;
    ProcessIdentity& operator=(const ProcessIdentity&) = delete;

private:
    HANDLE token_ = nullptr;
};

}  // namespace

// Closes the key when the operation that opened it ends.
class SpoolerKeyStore::OpenedKey {
public:
    OpenedKey(SpoolerKeyStore& store, const std::u16string& path, REGSAM access) : store_(store) {
        status_ = store.Open(path, access, key_);
    }
    ~OpenedKey() {
        if (status_ == ERROR_SUCCESS) store_.Close(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    LONG status() const { return status_; }
    const Key& key() const { return key_; }

private:
    ProcessIdentity asSpooler_;  // first: set up before the key opens, restored after it closed
    SpoolerKeyStore& store_;
    Key key_;
    LONG status_;
};

SpoolerKeyStore::SpoolerKeyStore(const MONITORINIT& init)
    : spooler_(init.hSpooler), spoolerRoot_(init.hckRegistryRoot) {
    if (init.pMonitorReg != nullptr) {
        const DWORD size = init.pMonitorReg->cbSize < sizeof callbacks_ ? init.pMonitorReg->cbSize : sizeof callbacks_;
        std::memcpy(&callbacks_, init.pMonitorReg, size);
        haveCallbacks_ = size == sizeof callbacks_;
    }
    // Opened now, while the spooler's root key is still valid.
    if (RegOpenKeyExW(static_cast<HKEY>(init.hckRegistryRoot), nullptr, 0, KEY_ALL_ACCESS, &ownRoot_) != ERROR_SUCCESS)
        ownRoot_ = nullptr;
}

SpoolerKeyStore::~SpoolerKeyStore() {
    if (ownRoot_ != nullptr) RegCloseKey(ownRoot_);
}

bool SpoolerKeyStore::Implemented(LONG result) {
    if (result != ERROR_CALL_NOT_IMPLEMENTED) return true;
    callbacksMissing_ = true;
    return false;
}

LONG SpoolerKeyStore::Open(const std::u16string& path, REGSAM access, Key& key) {
    if (UseSpooler()) {
        HANDLE handle = nullptr;
        const LONG result = callbacks_.fpOpenKey(spoolerRoot_, AsWide(path), access, &handle, spooler_);
        if (Implemented(result)) {
            key = {handle, true};
            return result;
        }
    }
    if (ownRoot_ == nullptr) return ERROR_INVALID_HANDLE;
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExW(ownRoot_, AsWide(path), 0, access, &handle);
    key = {handle, false};
    return result;
}

void SpoolerKeyStore::Close(const Key& key) {
    if (key.viaSpooler)
        callbacks_.fpCloseKey(key.handle, spooler_);
    else
        RegCloseKey(static_cast<HKEY>(key.handle));
}

std::uint32_t SpoolerKeyStore::OpenKey(const std::u16string& path, KeyAccess access) {
    return static_cast<std::uint32_t>(OpenedKey(*this, path, SamFor(access)).status());
}

std::uint32_t SpoolerKeyStore::CreateKey(const std::u16string& path) {
    const ProcessIdentity asSpooler;
    if (UseSpooler()) {
        HANDLE handle = nullptr;
        DWORD disposition = 0;
        const LONG result = callbacks_.fpCreateKey(spoolerRoot_, AsWide(path), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                                   nullptr, &handle, &disposition, spooler_);
        if (Implemented(result)) {
            if (result == ERROR_SUCCESS) callbacks_.fpCloseKey(handle, spooler_);
            return static_cast<std::uint32_t>(result);
        }
    }
    if (ownRoot_ == nullptr) return ERROR_INVALID_HANDLE;
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyExW(ownRoot_, AsWide(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) RegCloseKey(handle);
    return static_cast<std::uint32_t>(result);
}

std::uint32_t SpoolerKeyStore::DeleteKey(const std::u16string& path) {
    const ProcessIdentity asSpooler;
    if (UseSpooler()) {
        const LONG result = callbacks_.fpDeleteKey(spoolerRoot_, AsWide(path), spooler_);
        if (Implemented(result)) return static_cast<std::uint32_t>(result);
    }
    if (ownRoot_ == nullptr) return ERROR_INVALID_HANDLE;
    return static_cast<std::uint32_t>(RegDeleteKeyW(ownRoot_, AsWide(path)));
}

std::uint32_t SpoolerKeyStore::EnumSubkey(const std::u16string& path, std::uint32_t index, std::size_t maxNameLength,
                                          std::u16string& name) {
    OpenedKey key(*this, path, KEY_READ);
    if (key.status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.status());
    std::wstring buffer(maxNameLength + 1, L'\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG result = key.key().viaSpooler
                            ? callbacks_.fpEnumKey(key.key().handle, index, buffer.data(), &length, nullptr, spooler_)
                            : RegEnumKeyExW(static_cast<HKEY>(key.key().handle), index, buffer.data(), &length, nullptr,
                                            nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return static_cast<std::uint32_t>(result);
    if (length > maxNameLength) length = static_cast<DWORD>(maxNameLength);
    name.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
    return ERROR_SUCCESS;
}

std::uint32_t SpoolerKeyStore::QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                                          std::vector<std::uint8_t>& data) {
    OpenedKey key(*this, path, KEY_READ);
    if (key.status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.status());
    data.assign(maxBytes, 0);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(maxBytes);
    const LONG result =
        key.key().viaSpooler
            ? callbacks_.fpQueryValue(key.key().handle, AsWide(name), &type, data.data(), &size, spooler_)
            : RegQueryValueExW(static_cast<HKEY>(key.key().handle), AsWide(name), nullptr, &type, data.data(), &size);
    if (result != ERROR_SUCCESS) {
        data.clear();
        return static_cast<std::uint32_t>(result);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        // Someone typed the setting in by hand with the wrong type: its bytes
        // are no text, so it counts as missing and the default applies.
        TraceStep(L"registry value %ls\\%ls has type %lu, not text: ignored", AsWide(path), AsWide(name), type);
        data.clear();
        return ERROR_UNSUPPORTED_TYPE;
    }
    data.resize(size < maxBytes ? size : maxBytes);
    return ERROR_SUCCESS;
}

std::uint32_t SpoolerKeyStore::SetStringValue(const std::u16string& path, const std::u16string& name,
                                              const std::u16string& text) {
    OpenedKey key(*this, path, KEY_WRITE);
    if (key.status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.status());
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
    const LONG result = key.key().viaSpooler
                            ? callbacks_.fpSetValue(key.key().handle, AsWide(name), REG_SZ, bytes, size, spooler_)
                            : RegSetValueExW(static_cast<HKEY>(key.key().handle), AsWide(name), 0, REG_SZ, bytes, size);
    return static_cast<std::uint32_t>(result);
}

std::uint32_t SpoolerKeyStore::DeleteValue(const std::u16string& path, const std::u16string& name) {
    OpenedKey key(*this, path, KEY_WRITE);
    if (key.status() != ERROR_SUCCESS) return static_cast<std::uint32_t>(key.status());
    const LONG result = key.key().viaSpooler ? callbacks_.fpDeleteValue(key.key().handle, AsWide(name), spooler_)
                                             : RegDeleteValueW(static_cast<HKEY>(key.key().handle), AsWide(name));
    return static_cast<std::uint32_t>(result);
}

std::uint32_t SpoolerKeyStore::RestrictToAdministrators(const std::u16string& path) {
    const ProcessIdentity asSpooler;
    // The spooler's callbacks cannot set a key's security: the advapi copy of
    // the root can, on the same key.
    if (ownRoot_ == nullptr) return ERROR_INVALID_HANDLE;
    return static_cast<std::uint32_t>(RestrictKeyToAdministrators(ownRoot_, AsWide(path)));
}

}  // namespace tolvane
