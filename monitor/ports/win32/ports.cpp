// Port enumeration, opening and closing ports, and the device calls a fax port
// has no device for.

#include <cstring>
#include <new>
#include <span>

#include "common/port_values.h"
#include "monitor/ports/port_enumeration.h"
#include "monitor/ports/port_name.h"
#include "monitor/win32/fax_job.h"
#include "monitor/ports/win32/machine_ports.h"
#include "monitor/print_path/win32/spool_file.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

namespace tolvane {

static_assert(sizeof(PortInfo1) == sizeof(PORT_INFO_1W));
static_assert(sizeof(PortInfo2) == sizeof(PORT_INFO_2W));
static_assert(offsetof(PortInfo2, portType) == offsetof(PORT_INFO_2W, fPortType));

namespace {

// The Windows registry key where the spooler lists every port of the machine.
constexpr wchar_t kMachinePortsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

}  // namespace

void ResetJobFields(FaxJob& job) {
    job.spoolFile = INVALID_HANDLE_VALUE;
    job.spoolPath[0] = L'\0';
    job.recipients[0] = L'\0';
    job.recipientName[0] = L'\0';
    job.line[0] = L'\0';
    job.documentName[0] = L'\0';
    job.userName[0] = L'\0';
    job.machineName[0] = L'\0';
    job.jobId = 0;
    job.writeFailed = false;
    job.uploadCompression = UploadCompression::kAuto;
}

BOOL WINAPI TolvaneEnumPorts(HANDLE monitor, LPWSTR, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    TraceStep(L"EnumPorts(level %lu, buffer of %lu bytes)", level, ports != nullptr ? size : 0UL);
    if (monitor == nullptr || needed == nullptr || returned == nullptr) return FailWith(ERROR_INVALID_PARAMETER);
    *needed = 0;
    *returned = 0;
    if (level != 1 && level != 2) return FailWith(ERROR_INVALID_LEVEL);
    const std::vector<PortListing> listings = ListPorts(static_cast<Monitor*>(monitor)->registry);
    const EnumPortsResult result =
        PackPortInfo(level, listings, std::span<std::uint8_t>(ports, ports != nullptr ? size : 0));
    *needed = result.needed;
    if (result.error != 0) return FailWith(result.error);
    *returned = result.returned;
    return TRUE;
}

BOOL WINAPI TolvaneOpenPort(HANDLE monitor, LPWSTR name, PHANDLE port) {
    TraceStep(L"OpenPort(\"%ls\")", TraceText(name));
    if (port == nullptr || name == nullptr) return FailWith(ERROR_INVALID_PARAMETER);
    void* memory = ::operator new(kFaxJobBlockSize, std::nothrow);
    if (memory == nullptr) return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    std::memset(memory, 0, kFaxJobBlockSize);
    auto* job = new (memory) FaxJob{};
    job->block = job;
    job->monitor = static_cast<Monitor*>(monitor);
    job->configuration = MakeDefaultPortConfig();
    SetSlotText(job->configuration, ConfigSlot::kPortName, CutPortName(ToU16(name)));
    ResetJobFields(*job);
    *port = job;
    return TRUE;
}

BOOL WINAPI TolvaneClosePort(HANDLE port) {
    TraceStep(L"ClosePort(%p)", port);
    auto* job = static_cast<FaxJob*>(port);
    if (job == nullptr || job->block != job) return FailWith(ERROR_INVALID_HANDLE);
    DiscardUnfinishedDocument(*job);
    job->block = nullptr;
    job->~FaxJob();
    ::operator delete(job);
    return TRUE;
}

// A fax port never opens a device to read from.
BOOL WINAPI TolvaneReadPort(HANDLE port, LPBYTE, DWORD size, LPDWORD read) {
    TraceStep(L"ReadPort(%p, %lu bytes)", port, size);
    if (read != nullptr) *read = 0;
    return FailWith(ERROR_INVALID_HANDLE);
}

// Only ports on a communication device have time-outs; a fax port has none.
BOOL WINAPI TolvaneSetPortTimeOuts(HANDLE port, LPCOMMTIMEOUTS, DWORD) {
    TraceStep(L"SetPortTimeOuts(%p)", port);
    return FailWith(ERROR_INVALID_PARAMETER);
}

BOOL WINAPI TolvaneAddPortEx(HANDLE monitor, LPWSTR, DWORD level, LPBYTE buffer, LPWSTR monitorName) {
    const wchar_t* requested = buffer != nullptr ? reinterpret_cast<const PORT_INFO_1W*>(buffer)->pName : nullptr;
    TraceStep(L"AddPortEx(level %ld, port \"%ls\", monitor \"%ls\")", static_cast<long>(level), TraceText(requested),
              TraceText(monitorName));
    if (level != 1 && level != static_cast<DWORD>(-1)) return FailWith(ERROR_INVALID_LEVEL);
    const auto* info = reinterpret_cast<const PORT_INFO_1W*>(buffer);
    if (monitor == nullptr || info == nullptr || info->pName == nullptr || info->pName[0] == L'\0')
        return FailWith(ERROR_INVALID_PARAMETER);
    const std::wstring name(info->pName);
    // A port list the spooler cannot give leaves the name to the registry write.
    bool taken = false;
    MachineHasPort(name, PortNameCase::kIgnoringCase, taken);
    if (taken) return FailWith(ERROR_INVALID_PARAMETER);

    auto& instance = *static_cast<Monitor*>(monitor);
    std::lock_guard<std::mutex> guard(instance.addedPortsLock);
    instance.addedPorts.push_back(name);
    HKEY ports = nullptr;
    LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachinePortsKey, 0, KEY_SET_VALUE, &ports);
    if (result == ERROR_SUCCESS) {
        const wchar_t empty[] = L"";
        result = RegSetValueExW(ports, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty);
        RegCloseKey(ports);
    }
    if (result != ERROR_SUCCESS) {
        instance.addedPorts.pop_back();
        return FailWith(static_cast<DWORD>(result));
    }
    return TRUE;
}

}  // namespace tolvane
