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

// The exports of the library (Caskel.def, OstrelCaskel.def), defined in
// monitor_entry.cpp and monitor_ui.cpp:
//
// InitializePrintMonitor2(init, monitor): the function table below, with the
//   monitor's own instance in *monitor; NULL with ERROR_INVALID_PARAMETER for a
//   null argument, ERROR_NOT_ENOUGH_MEMORY when the instance cannot be made.
// InitializePrintMonitorUI() (32-bit build only): the Add, Configure and Delete
//   port dialogs' table; never fails, sets no error.
//
// The function table. Each entry answers TRUE, or FALSE with the thread's last
// error set (XcvDataPort answers the error itself), as the spooler expects; each
// traces its arguments on entry (TraceCall), buffers by size only.

// EnumPorts: PORT_INFO_1W/2W of every port in the monitor's "Ports" key into
// `ports`, *needed the bytes they take, *returned their count.
// ERROR_INVALID_PARAMETER (null needed/returned), ERROR_INVALID_LEVEL (not 1 or
// 2), ERROR_INSUFFICIENT_BUFFER (*needed says how much; nothing is written).
BOOL WINAPI TolvaneEnumPorts(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned);
// OpenPort: a zero-filled FaxJob block for the port in *port. ERROR_INVALID_PARAMETER
// (null name or port), ERROR_NOT_ENOUGH_MEMORY.
BOOL WINAPI TolvaneOpenPort(HANDLE monitor, LPWSTR name, PHANDLE port);
// ReadPort: a fax port has no device to read; *read = 0, always ERROR_INVALID_HANDLE.
BOOL WINAPI TolvaneReadPort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD read);
// ClosePort: frees the block (closing a spool file left open). ERROR_INVALID_HANDLE
// for anything but an open port's block.
BOOL WINAPI TolvaneClosePort(HANDLE port);
// AddPortEx: records the name among the machine's ports. ERROR_INVALID_LEVEL (not 1
// or -1), ERROR_INVALID_PARAMETER (no name, or a port of that name in any case
// exists), or the registry's error.
BOOL WINAPI TolvaneAddPortEx(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE buffer, LPWSTR monitorName);
// SetPortTimeOuts: a fax port has no time-outs; always ERROR_INVALID_PARAMETER.
BOOL WINAPI TolvaneSetPortTimeOuts(HANDLE port, LPCOMMTIMEOUTS timeouts, DWORD reserved);

// StartDocPort: reads the port's settings and creates the document's spool file.
// ERROR_INVALID_HANDLE (not a port), ERROR_FILE_NOT_FOUND (the port has no
// settings), ERROR_ACCESS_DENIED (the job came from another computer), or the
// file system's error (ERROR_CANNOT_MAKE when it gives none).
BOOL WINAPI TolvaneStartDocPort(HANDLE port, LPWSTR printerName, DWORD jobId, DWORD level, LPBYTE docInfo);
// WritePort: appends the bytes to the spool file, *written = size on success.
// ERROR_INVALID_HANDLE (not a port), ERROR_INVALID_PARAMETER (null written, or a
// null buffer with a size), or the file system's error (*written = 0).
BOOL WINAPI TolvaneWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written);
// EndDocPort: the conversation with the dialog, the submission and the job marked
// sent. TRUE whatever the fax's fate (the user learns it from the dialog);
// ERROR_INVALID_HANDLE for anything but a port.
BOOL WINAPI TolvaneEndDocPort(HANDLE port);

// XcvOpenPort: a transceive handle remembering the object name and the access
// granted. ERROR_INVALID_PARAMETER (null monitor or xcv), ERROR_NOT_ENOUGH_MEMORY.
BOOL WINAPI TolvaneXcvOpenPort(HANDLE monitor, LPCWSTR object, ACCESS_MASK granted, PHANDLE xcv);
// XcvDataPort: runs a transceive command ("AddPort", "DeletePort", "PortExists",
// "MonitorUI", "GetConfig", "SetConfig") and answers its status, *needed the
// output size it takes; ERROR_INVALID_PARAMETER for a bad handle or no command.
// Sets no last error.
DWORD WINAPI TolvaneXcvDataPort(HANDLE xcv, LPCWSTR command, PBYTE input, DWORD inputSize, PBYTE output,
                                DWORD outputSize, PDWORD needed);
// XcvClosePort: frees the handle. ERROR_INVALID_HANDLE for anything else.
BOOL WINAPI TolvaneXcvClosePort(HANDLE xcv);
// Shutdown (monitor_entry.cpp): frees the monitor's instance; sets no error.

}  // namespace tolvane
