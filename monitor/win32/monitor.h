#pragma once
// The monitor instance the spooler's monitor handle points to, and the
// spooler-facing entry points of the function table.

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/win32/wide_text.h"
#include "monitor/win32/spooler_key_store.h"

namespace tolvane {

// One per InitializePrintMonitor2. The spooler's MONITORINIT may live only for the
// duration of that call (Wine builds it on its stack and closes its root key on
// return), so the monitor keeps what it needs of it here.
struct Monitor {
    explicit Monitor(const MONITORINIT& init) : registry(init) {}

    SpoolerKeyStore registry;
    std::mutex addedPortsLock;
    std::vector<std::wstring> addedPorts;  // ports added through AddPortEx
};

HMODULE MonitorModule();

// The one critical section that serialises spool-file writes.
CRITICAL_SECTION& SpoolWriteLock();

// Sets the thread's last error and answers FALSE, the spooler's failure convention.
inline BOOL FailWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL WINAPI TolvaneEnumPorts(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned);
BOOL WINAPI TolvaneOpenPort(HANDLE monitor, LPWSTR name, PHANDLE port);
BOOL WINAPI TolvaneReadPort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD read);
BOOL WINAPI TolvaneClosePort(HANDLE port);
BOOL WINAPI TolvaneAddPortEx(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE buffer, LPWSTR monitorName);
BOOL WINAPI TolvaneSetPortTimeOuts(HANDLE port, LPCOMMTIMEOUTS timeouts, DWORD reserved);

BOOL WINAPI TolvaneStartDocPort(HANDLE port, LPWSTR printerName, DWORD jobId, DWORD level, LPBYTE docInfo);
BOOL WINAPI TolvaneWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written);
BOOL WINAPI TolvaneEndDocPort(HANDLE port);

BOOL WINAPI TolvaneXcvOpenPort(HANDLE monitor, LPCWSTR object, ACCESS_MASK granted, PHANDLE xcv);
DWORD WINAPI TolvaneXcvDataPort(HANDLE xcv, LPCWSTR command, PBYTE input, DWORD inputSize, PBYTE output,
                                DWORD outputSize, PDWORD needed);
BOOL WINAPI TolvaneXcvClosePort(HANDLE xcv);

}  // namespace tolvane
