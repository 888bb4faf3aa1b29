#include "setup/win32/shell_integration.h"

#include "setup/win32/windows_api.h"
#include <objbase.h>
#include <shlobj.h>

#include "common/win32/wide_text.h"
#include "common/language/language_ini.h"

namespace tolvane {
namespace {

constexpr wchar_t kPersistedKey[] =
    L"SoftWare\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
constexpr wchar_t kSettingsSection[] = L"Set";
constexpr wchar_t kDefaultLanguageKey[] = L"DefLanguage";
constexpr wchar_t kDefaultLanguage[] = L"EN";
// The longest language name read back; a section name of Language.ini is
// shorter (LanguageIni refuses 512 characters and more).
constexpr DWORD kLanguageNameChars = 512;

// COM for the calls of one function, on the dialog's single thread.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface** Out() { return &pointer_; }
    void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace

std::u16string CommonProgramsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_PROGRAMS, TRUE)) return {};
    return ToU16(folder);
}

bool CreateShortcut(std::u16string_view target, std::u16string_view workingFolder, std::u16string_view link) {
    const ComScope com;
    ComPointer<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.OutVoid())))
        return false;
    shellLink->SetPath(ToWide(target).c_str());
    shellLink->SetWorkingDirectory(ToWide(workingFolder).c_str());
    ComPointer<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
    return SUCCEEDED(file->Save(ToWide(link).c_str(), TRUE));
}

bool MarkCompatibilityPersisted(std::u16string_view programPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    const DWORD one = 1;
    const LONG result = RegSetValueExW(key, ToWide(programPath).c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::u16string ReadDefaultLanguage(std::u16string_view settingsFile) {
    const std::wstring path = ToWide(settingsFile);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return ToU16(kDefaultLanguage);
    std::wstring value(kLanguageNameChars, L'\0');
    const DWORD length = GetPrivateProfileStringW(kSettingsSection, kDefaultLanguageKey, kDefaultLanguage, value.data(),
                                                  kLanguageNameChars, path.c_str());
    value.resize(length);
    return ToU16(value);
}

bool WriteDefaultLanguage(std::u16string_view settingsFile, std::u16string_view section) {
    const std::wstring path = ToWide(settingsFile);
    // CREATE_NEW: an existing file, whatever its encoding, is left to the
    // profile functions.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string start = EncodeUtf16Le(u"[Set]\r\n");
        DWORD done = 0;
        WriteFile(file, start.data(), static_cast<DWORD>(start.size()), &done, nullptr);
        CloseHandle(file);
    }
    return WritePrivateProfileStringW(kSettingsSection, kDefaultLanguageKey, ToWide(section).c_str(), path.c_str()) !=
           FALSE;
}

}  // namespace tolvane
