// The print path of a fax port: StartDocPort, WritePort and EndDocPort.
//
// Until the submission to the fax server is wired in, a fax port refuses
// documents openly, so the spooler reports the job as failed instead of
// dropping it as printed.

#include "monitor/win32/monitor.h"

namespace tolvane {

BOOL WINAPI TolvaneStartDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE) { return FailWith(ERROR_NOT_SUPPORTED); }

BOOL WINAPI TolvaneWritePort(HANDLE, LPBYTE, DWORD, LPDWORD written) {
  if (written != nullptr) *written = 0;
  return FailWith(ERROR_NOT_SUPPORTED);
}

BOOL WINAPI TolvaneEndDocPort(HANDLE) { return FailWith(ERROR_NOT_SUPPORTED); }

}  // namespace tolvane
