// The library's entry points: DllMain, the level-2 monitor initialisation that
// hands the spooler the function table, and Shutdown.

#include "common/entry_guard.h"
#include "monitor/ports/port_config_io.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

namespace tolvane {
namespace {

HMODULE g_module = nullptr;
CRITICAL_SECTION g_spoolWriteLock;

VOID WINAPI TolvaneShutdown(HANDLE monitor) { delete static_cast<Monitor*>(monitor); }

void SetError(std::uint32_t error) { SetLastError(error); }

// What the spooler calls: each entry through the exception guard. The table
// below names only these.
BOOL WINAPI GuardedEnumPorts(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    return GuardedEntry(FALSE, SetError,
                        [&] { return TolvaneEnumPorts(monitor, name, level, ports, size, needed, returned); });
}
BOOL WINAPI GuardedOpenPort(HANDLE monitor, LPWSTR name, PHANDLE port) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneOpenPort(monitor, name, port); });
}
BOOL WINAPI GuardedStartDocPort(HANDLE port, LPWSTR printer, DWORD job, DWORD level, LPBYTE info) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneStartDocPort(port, printer, job, level, info); });
}
BOOL WINAPI GuardedWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneWritePort(port, buffer, size, written); });
}
BOOL WINAPI GuardedReadPort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD read) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneReadPort(port, buffer, size, read); });
}
BOOL WINAPI GuardedEndDocPort(HANDLE port) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneEndDocPort(port); });
}
BOOL WINAPI GuardedClosePort(HANDLE port) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneClosePort(port); });
}
BOOL WINAPI GuardedAddPortEx(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE buffer, LPWSTR monitorName) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneAddPortEx(monitor, name, level, buffer, monitorName); });
}
BOOL WINAPI GuardedSetPortTimeOuts(HANDLE port, LPCOMMTIMEOUTS timeouts, DWORD reserved) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneSetPortTimeOuts(port, timeouts, reserved); });
}
BOOL WINAPI GuardedXcvOpenPort(HANDLE monitor, LPCWSTR object, ACCESS_MASK granted, PHANDLE xcv) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneXcvOpenPort(monitor, object, granted, xcv); });
}
DWORD WINAPI GuardedXcvDataPort(HANDLE xcv, LPCWSTR command, PBYTE input, DWORD inputSize, PBYTE output,
                                DWORD outputSize, PDWORD needed) {
    return GuardedStatus(
        [&] { return TolvaneXcvDataPort(xcv, command, input, inputSize, output, outputSize, needed); });
}
BOOL WINAPI GuardedXcvClosePort(HANDLE xcv) {
    return GuardedEntry(FALSE, SetError, [&] { return TolvaneXcvClosePort(xcv); });
}
VOID WINAPI GuardedShutdown(HANDLE monitor) {
    GuardedEntry(0, SetError, [&] {
        TolvaneShutdown(monitor);
        return 0;
    });
}

MONITOR2 MakeFunctionTable() {
    MONITOR2 table{};
    table.cbSize = sizeof table;
    table.pfnEnumPorts = GuardedEnumPorts;
    table.pfnOpenPort = GuardedOpenPort;
    table.pfnOpenPortEx = nullptr;
    table.pfnStartDocPort = GuardedStartDocPort;
    table.pfnWritePort = GuardedWritePort;
    table.pfnReadPort = GuardedReadPort;
    table.pfnEndDocPort = GuardedEndDocPort;
    table.pfnClosePort = GuardedClosePort;
    table.pfnAddPort = nullptr;
    table.pfnAddPortEx = GuardedAddPortEx;
    table.pfnConfigurePort = nullptr;
    table.pfnDeletePort = nullptr;
    table.pfnGetPrinterDataFromPort = nullptr;
    table.pfnSetPortTimeOuts = GuardedSetPortTimeOuts;
    table.pfnXcvOpenPort = GuardedXcvOpenPort;
    table.pfnXcvDataPort = GuardedXcvDataPort;
    table.pfnXcvClosePort = GuardedXcvClosePort;
    table.pfnShutdown = GuardedShutdown;
    return table;
}

const MONITOR2 g_functionTable = MakeFunctionTable();

}  // namespace

HMODULE MonitorModule() { return g_module; }
CRITICAL_SECTION& SpoolWriteLock() { return g_spoolWriteLock; }

}  // namespace tolvane

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        tolvane::g_module = instance;
        InitializeCriticalSection(&tolvane::g_spoolWriteLock);
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        DeleteCriticalSection(&tolvane::g_spoolWriteLock);
        break;
    default:
        break;
    }
    return TRUE;
}

// The monitor handle is the monitor's own instance, which keeps a copy of what it
// needs from the initialisation block.
extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor) {
    if (init == nullptr || monitor == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return tolvane::GuardedEntry(static_cast<LPMONITOR2>(nullptr), tolvane::SetError, [&]() -> LPMONITOR2 {
        auto* instance = new tolvane::Monitor(*init);
        // Port keys from before, or made by hand, are closed to users too.
        if (const unsigned refused = tolvane::RestrictEveryPortKey(instance->registry)) {
            tolvane::TraceStep(L"%u port keys could not be closed to users", refused);
        }
        *monitor = instance;
        return const_cast<LPMONITOR2>(&tolvane::g_functionTable);
    });
}
