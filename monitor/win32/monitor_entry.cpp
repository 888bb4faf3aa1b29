// The library's entry points: DllMain, the level-2 monitor initialisation that
// hands the spooler the function table, and Shutdown.

#include "monitor/win32/monitor.h"

namespace tolvane {
namespace {

HMODULE g_module = nullptr;
CRITICAL_SECTION g_spoolWriteLock;

VOID WINAPI TolvaneShutdown(HANDLE monitor) { delete static_cast<Monitor*>(monitor); }

MONITOR2 MakeFunctionTable() {
    MONITOR2 table{};
    table.cbSize = sizeof table;
    table.pfnEnumPorts = TolvaneEnumPorts;
    table.pfnOpenPort = TolvaneOpenPort;
    table.pfnOpenPortEx = nullptr;
    table.pfnStartDocPort = TolvaneStartDocPort;
    table.pfnWritePort = TolvaneWritePort;
    table.pfnReadPort = TolvaneReadPort;
    table.pfnEndDocPort = TolvaneEndDocPort;
    table.pfnClosePort = TolvaneClosePort;
    table.pfnAddPort = nullptr;
    table.pfnAddPortEx = TolvaneAddPortEx;
    table.pfnConfigurePort = nullptr;
    table.pfnDeletePort = nullptr;
    table.pfnGetPrinterDataFromPort = nullptr;
    table.pfnSetPortTimeOuts = TolvaneSetPortTimeOuts;
    table.pfnXcvOpenPort = TolvaneXcvOpenPort;
    table.pfnXcvDataPort = TolvaneXcvDataPort;
    table.pfnXcvClosePort = TolvaneXcvClosePort;
    table.pfnShutdown = TolvaneShutdown;
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
    auto* instance = new (std::nothrow) tolvane::Monitor(*init);
    if (instance == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    *monitor = instance;
    return const_cast<LPMONITOR2>(&tolvane::g_functionTable);
}
