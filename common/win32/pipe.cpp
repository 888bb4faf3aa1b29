#include "common/win32/pipe.h"

#include "common/win32/pipe_security.h"
#include "common/win32/procedure_address.h"
#include "common/win32/scoped_handle.h"

#include <utility>
#include <vector>

namespace tolvane {

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

bool EnablePrivilege(HANDLE token, const wchar_t* name) {
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) return false;
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return false;
    return GetLastError() == ERROR_SUCCESS;
}

// WTSGetActiveConsoleSessionId is looked up at run time: Windows 2000 lacks
// it, and the program must still load there. Windows 2000 has no fast user
// switching, so its console is always session 0: that is the answer there.
bool ActiveConsoleSession(const AlertSink& alerts, DWORD& session) {
    HMODULE kernel = LoadLibraryExW(L"kernel32.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!kernel) {
        alerts(kCannotLoadDllText, kLaunchAlertCaption);
        return false;
    }
    using SessionFunction = DWORD(WINAPI*)();
    const auto function = ProcedureAddress<SessionFunction>(kernel, "WTSGetActiveConsoleSessionId");
    session = function ? function() : 0;
    FreeLibrary(kernel);
    return true;
}

// The user's environment block, built from the token without the host's own
// variables. userenv.dll is loaded at run time so that a host linking this
// library needs no import of it. Without a block the client inherits the
// host's environment.
class UserEnvironment {
public:
    explicit UserEnvironment(HANDLE token) : module_(LoadLibraryW(L"userenv.dll")) {
        if (!module_) return;
        using Create = BOOL(WINAPI*)(void**, HANDLE, BOOL);
        const auto create = ProcedureAddress<Create>(module_, "CreateEnvironmentBlock");
        if (create && !create(&block_, token, FALSE)) block_ = nullptr;
    }
    ~UserEnvironment() {
        const DWORD error = GetLastError();
        if (block_) {
            using Destroy = BOOL(WINAPI*)(void*);
            const auto destroy = ProcedureAddress<Destroy>(module_, "DestroyEnvironmentBlock");
            if (destroy) destroy(block_);
        }
        if (module_) FreeLibrary(module_);
        SetLastError(error);
    }
    UserEnvironment(const UserEnvironment&) = delete;
    UserEnvironment& operator=(const UserEnvironment&) = delete;
    void* Block() const { return block_; }

private:
    HMODULE module_;
    void* block_ = nullptr;
};

}  // namespace

void ShowPlainMessageBox(std::u16string_view text, std::u16string_view caption) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
}

AlertSink MessageBoxAlerts() { return ShowPlainMessageBox; }

bool LaunchClientInConsoleSession(const ClientLaunch& launch, const AlertSink& alerts, HANDLE& process,
                                  DWORD& processId) {
    const DWORD access =
        launch.enableAssignPrimaryTokenPrivilege ? TOKEN_ALL_ACCESS : (TOKEN_DUPLICATE | TOKEN_IMPERSONATE);
    ScopedHandle threadToken;
    if (!OpenThreadToken(GetCurrentThread(), access, TRUE, threadToken.Out())) return false;
    if (launch.enableAssignPrimaryTokenPrivilege &&
        !EnablePrivilege(threadToken.Get(), L"SeAssignPrimaryTokenPrivilege")) {
        return false;
    }
    ScopedHandle userToken;
    if (!DuplicateTokenEx(threadToken.Get(), MAXIMUM_ALLOWED, nullptr, SecurityIdentification, TokenPrimary,
                          userToken.Out())) {
        return false;
    }
    const AlertSink alert = [&alerts](std::u16string_view text, std::u16string_view caption) {
        if (alerts) alerts(text, caption);
    };
    DWORD session = 0;
    DWORD size = 0;
    if (launch.inActingUsersSession &&
        GetTokenInformation(userToken.Get(), TokenSessionId, &session, sizeof session, &size) && session != 0) {
        // The user's own session: nothing to change.
    } else if (!ActiveConsoleSession(alert, session)) {
        return false;
    }
    // Needs the trust privilege the spooler has; without it the client starts
    // in the token's own session, which is the caller's.
    SetTokenInformation(userToken.Get(), TokenSessionId, &session, sizeof(session));

    UserEnvironment environment(userToken.Get());

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    wchar_t desktop[] = L"WinSta0\\Default";
    startup.lpDesktop = desktop;
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> commandLine(launch.commandLine.begin(), launch.commandLine.end());
    commandLine.push_back(L'\0');
    const BOOL created = CreateProcessAsUserW(
        userToken.Get(), launch.applicationPath.empty() ? nullptr : launch.applicationPath.c_str(),
        launch.commandLine.empty() ? nullptr : commandLine.data(), nullptr, nullptr,
        /*bInheritHandles=*/FALSE, CREATE_UNICODE_ENVIRONMENT | NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE,
        environment.Block(), nullptr, &startup, &info);
    if (!created) return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

Pipe::Pipe(bool isHost, std::wstring name, AlertSink alerts)
    : isHost_(isHost), name_(std::move(name)), alerts_(std::move(alerts)), peer_(*this, alerts_) {}

Pipe::~Pipe() {
    Close();
    if (ioEvent_) CloseHandle(ioEvent_);
}

bool Pipe::Fail() {
    lastError_ = GetLastError();
    return false;
}

bool Pipe::Open() {
    if (IsOpen()) return true;
    return isHost_ ? OpenHost() : OpenClient();
}

bool Pipe::OpenClient() {
    handle_ = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return Fail();
    return true;
}

bool Pipe::OpenHost() {
    if (!ioEvent_) ioEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ioEvent_) return Fail();
    // Someone else already serves this name: refuse to share it. The
    // first-instance flag below closes the gap on Windows; some systems (Wine)
    // ignore that flag, and this look catches a squatter that is already there.
    if (WaitNamedPipeW(name_.c_str(), 1) || GetLastError() != ERROR_FILE_NOT_FOUND) {
        lastError_ = ERROR_ACCESS_DENIED;
        return false;
    }
    // Overlapped only so that the wait for the client can also watch the
    // launched process; every operation still completes before it returns.
    ActingUserOnlySecurity security;
    SECURITY_ATTRIBUTES* attributes = nullptr;
    if (onlyActingUser_) {
        attributes = security.Attributes();
        if (!attributes) return Fail();  // never fall back to a pipe anyone may open
    }
    handle_ = CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
                               PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 0, 0, 0, attributes);
    if (handle_ == INVALID_HANDLE_VALUE) return Fail();
    if (!LaunchClient() || !WaitForLaunchedClient() || !ConnectedClientIsLaunchedProcess()) {
        const DWORD error = lastError_;
        Close();
        lastError_ = error;
        return false;
    }
    return true;
}

bool Pipe::LaunchClient() {
    if (clientProcess_) {
        CloseHandle(clientProcess_);
        clientProcess_ = nullptr;
    }
    if (!LaunchClientInConsoleSession(launch_, alerts_, clientProcess_, clientProcessId_)) return Fail();
    return true;
}

bool Pipe::WaitForLaunchedClient() {
    OVERLAPPED overlapped{};
    overlapped.hEvent = ioEvent_;
    ResetEvent(ioEvent_);
    if (ConnectNamedPipe(handle_, &overlapped)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    if (error != ERROR_IO_PENDING) return Fail();
    HANDLE waits[2] = {ioEvent_, clientProcess_};
    const DWORD which = WaitForMultipleObjects(clientProcess_ ? 2 : 1, waits, FALSE, connectLimitMs_);
    if (which == WAIT_OBJECT_0) {
        DWORD unused = 0;
        if (GetOverlappedResult(handle_, &overlapped, &unused, FALSE)) return true;
        return Fail();
    }
    // The client ended without connecting, did not connect in time, or the
    // wait failed: give up.
    const DWORD failure = which == WAIT_OBJECT_0 + 1 ? ERROR_PROCESS_ABORTED
                          : which == WAIT_TIMEOUT    ? ERROR_TIMEOUT
                                                     : GetLastError();
    CancelIo(handle_);
    DWORD unused = 0;
    GetOverlappedResult(handle_, &overlapped, &unused, TRUE);
    lastError_ = failure;
    return false;
}

bool Pipe::ConnectedClientIsLaunchedProcess() {
    using ClientIdFunction = BOOL(WINAPI*)(HANDLE, PULONG);
    const auto clientId =
        ProcedureAddress<ClientIdFunction>(GetModuleHandleW(L"kernel32.dll"), "GetNamedPipeClientProcessId");
    ULONG connectedId = 0;
    // Systems before Vista cannot tell who connected; the first-instance
    // creation is then the only guard.
    if (!clientId || !clientId(handle_, &connectedId)) return true;
    if (connectedId == clientProcessId_) return true;
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
}

bool Pipe::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        if (isHost_) DisconnectNamedPipe(handle_);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    if (clientProcess_) {
        CloseHandle(clientProcess_);
        clientProcess_ = nullptr;
    }
    return true;
}

void Pipe::SetTimeLimit(DWORD milliseconds) {
    timeLimitMs_ = milliseconds;
    limitStart_ = GetTickCount();
}

DWORD Pipe::TimeLeft() const {
    if (timeLimitMs_ == INFINITE) return INFINITE;
    // Unsigned difference: right across the 49-day wrap of the tick count.
    const DWORD elapsed = GetTickCount() - limitStart_;
    return elapsed >= timeLimitMs_ ? 0 : timeLimitMs_ - elapsed;
}

bool Pipe::FinishIo(BOOL started, OVERLAPPED& overlapped, DWORD& transferred) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return Fail();
    if (WaitForSingleObject(overlapped.hEvent, TimeLeft()) == WAIT_TIMEOUT) {
        // Cancelled I/O on a pipe completes at once; the wait below only
        // collects it, so the buffer is no longer in use when this returns.
        CancelIo(handle_);
        GetOverlappedResult(handle_, &overlapped, &transferred, TRUE);
        lastError_ = ERROR_TIMEOUT;
        return false;
    }
    if (!GetOverlappedResult(handle_, &overlapped, &transferred, TRUE)) return Fail();
    return true;
}

bool Pipe::WriteMessage(const std::vector<std::uint8_t>& bytes) {
    if (!IsOpen()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    DWORD written = 0;
    if (isHost_) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = ioEvent_;
        ResetEvent(ioEvent_);
        const BOOL started = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &overlapped);
        if (!FinishIo(started, overlapped, written)) return false;
    } else if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return Fail();
    }
    if (written != bytes.size()) {
        lastError_ = ERROR_WRITE_FAULT;
        return false;
    }
    return true;
}

bool Pipe::ReadMessage(std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
    if (!IsOpen()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    std::vector<std::uint8_t> buffer(maxBytes, 0);
    DWORD read = 0;
    if (isHost_) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = ioEvent_;
        ResetEvent(ioEvent_);
        const BOOL started = ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &overlapped);
        if (!FinishIo(started, overlapped, read)) return false;
    } else if (!ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        return Fail();
    }
    buffer.resize(read);
    bytes = std::move(buffer);
    return true;
}

}  // namespace tolvane
