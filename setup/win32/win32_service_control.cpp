#include "setup/win32/win32_service_control.h"

#include "setup/win32/windows_api.h"

#include "common/win32/wide_text.h"
#include "setup/spooler_control.h"

namespace tolvane {
namespace {

constexpr wchar_t kSpoolerService[] = L"Spooler";

// The manager is opened "with connect and create-service rights" for the
// query, as the tool always did.
constexpr DWORD kQueryManagerAccess = SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE;
static_assert(kQueryManagerAccess == 3);

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() {
        if (handle_ != nullptr) CloseServiceHandle(handle_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

}  // namespace

ServiceControl::Query Win32ServiceControl::QuerySpooler() {
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, kQueryManagerAccess));
    if (manager.Get() == nullptr) return Query::kUnavailable;
    const ServiceHandle service(OpenServiceW(manager.Get(), kSpoolerService, GENERIC_READ));
    if (service.Get() == nullptr) return Query::kUnavailable;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.Get(), &status)) return Query::kUnavailable;
    return SpoolerStateCountsAsRunning(status.dwCurrentState) ? Query::kRunning : Query::kNotRunning;
}

bool Win32ServiceControl::StartSpoolerService() {
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager.Get() == nullptr) return false;
    const ServiceHandle service(OpenServiceW(manager.Get(), kSpoolerService, SERVICE_ALL_ACCESS));
    if (service.Get() == nullptr) return false;
    return StartServiceW(service.Get(), 0, nullptr) != FALSE;
}

ServiceControl::StopResult Win32ServiceControl::StopSpoolerService() {
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager.Get() == nullptr) return StopResult::kNoManager;
    const ServiceHandle service(OpenServiceW(manager.Get(), kSpoolerService, SERVICE_ALL_ACCESS));
    if (service.Get() == nullptr) return StopResult::kFailed;
    SERVICE_STATUS status{};
    return ControlService(service.Get(), SERVICE_CONTROL_STOP, &status) ? StopResult::kStopped : StopResult::kFailed;
}

void Win32ServiceControl::StartCommand(std::u16string_view commandLine) {
    std::wstring line = ToWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = hiddenCommands_ ? SW_HIDE : SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    const DWORD flags = hiddenCommands_ ? CREATE_NO_WINDOW : 0;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process))
        return;  // not waited for, not reported: the caller looks at the spooler afterwards
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32ServiceControl::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace tolvane
