#include "setup/win32/system_facts.h"

#include "setup/win32/windows_api.h"

#include "common/win32/procedure_address.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using NativeSystemInfoFunction = void(WINAPI*)(SYSTEM_INFO*);

// Beyond this a module path is not a path the tool can work with.
constexpr DWORD kLongestModulePath = 32768;

}  // namespace

OsVersion QueryOsVersion() {
    OsVersion version;
    const DWORD packed = GetVersion();
    version.isNt = (packed & 0x80000000u) == 0;
    version.major = LOBYTE(LOWORD(packed));
    version.minor = HIBYTE(LOWORD(packed));
    if (version.isNt) {
        const auto rtlGetVersion =
            ProcedureAddress<RtlGetVersionFunction>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (rtlGetVersion != nullptr && rtlGetVersion(&info) == 0) {
            version.major = info.dwMajorVersion;
            version.minor = info.dwMinorVersion;
            return version;
        }
    }
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (GetVersionExW(&info)) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
    }
    return version;
}

int DetectBitness() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return -1;
    SYSTEM_INFO system{};
    const auto native =
        ProcedureAddress<NativeSystemInfoFunction>(GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo");
    if (native != nullptr)
        native(&system);
    else
        GetSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ? 32 : 64;
}

bool IsUserAdmin() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    // A null token: the thread's impersonation token, else the process's.
    if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
}

std::u16string ProgramPath() {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size() - 1) {
            buffer.resize(length);
            return ToU16(buffer);
        }
        if (buffer.size() >= kLongestModulePath) return {};
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

std::u16string ProgramFolder() {
    std::u16string path = ProgramPath();
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string::npos) return {};
    path.resize(slash);
    return path;
}

std::u16string CreateWorkFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring base(temp, length);
    if (base.back() != L'\\') base += L'\\';
    const std::wstring stem = base + L"TolvaneSetup-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = stem + std::to_wstring((GetTickCount() + attempt) & 0xFFFFu);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return ToU16(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace tolvane
