#include "monitor/print_path/win32/dialog_launch.h"

#include <cwchar>
#include <vector>

#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

namespace tolvane {

namespace {

// The folder the build's Korrim.exe lives under: the system directory of a
// 32-bit build (on 64-bit Windows a 32-bit process sees SysWOW64 there), the
// 32-bit system directory of a 64-bit build.
std::wstring SystemFolderOfThisBuild() {
    wchar_t folder[MAX_PATH + 1] = L"";
#ifdef _WIN64
    const UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH);
#else
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
#endif
    if (length == 0 || length > MAX_PATH) return {};
    return folder;
}

bool ProcessRunsAsLocalSystem() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;  // unknown: assume the worst
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
    CloseHandle(token);
    if (!read) return true;
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer);
    // S-1-5-18, built the way Windows 2000 can (it lacks CreateWellKnownSid).
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system)) {
        return true;
    }
    const bool isSystem = EqualSid(user->User.Sid, system) != FALSE;
    FreeSid(system);
    return isSystem;
}

}  // namespace

std::optional<ClientLaunch> DialogProgramLaunch() {
    const std::wstring folder = SystemFolderOfThisBuild();
    const std::optional<std::u16string> path = DialogProgramPath(kThisBuild, ToU16(folder.c_str()));
    if (!path) return std::nullopt;
    ClientLaunch launch;
    launch.applicationPath = AsWide(*path);
    launch.commandLine.clear();
    launch.enableAssignPrimaryTokenPrivilege = true;
    // On a terminal server every user prints from a session of their own: the
    // form goes there, not to whoever sits at the console.
    launch.inActingUsersSession = true;
    return launch;
}

bool DialogProgramTakesRole(const std::wstring& path, std::u16string_view role) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    if (size == 0) return false;
    std::vector<DWORD> block(size / sizeof(DWORD) + 1);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return false;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length))
        return false;
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
        wchar_t key[64] = L"";
        std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\Roles", translations[i].language,
                      translations[i].codePage);
        wchar_t* roles = nullptr;
        UINT rolesLength = 0;
        if (!VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&roles), &rolesLength) || roles == nullptr)
            continue;
        // The roles are words separated by blanks.
        const std::wstring words = L" " + std::wstring(roles) + L" ";
        const std::u16string wanted = u" " + std::u16string(role) + u" ";
        if (words.find(AsWide(wanted)) != std::wstring::npos) return true;
    }
    return false;
}

LaunchIdentity::LaunchIdentity() {
    HANDLE token = nullptr;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
        CloseHandle(token);
        return;  // already acting for a user
    }
    if (GetLastError() != ERROR_NO_TOKEN || ProcessRunsAsLocalSystem()) return;
    impersonating_ = ImpersonateSelf(SecurityImpersonation) != FALSE;
    if (impersonating_) TraceStep(L"the thread acts for the process's own user to start the dialog");
}

LaunchIdentity::~LaunchIdentity() {
    if (impersonating_) RevertToSelf();
}

}  // namespace tolvane
