#include "monitor/print_path/win32/dialog_launch.h"

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
    return launch;
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
