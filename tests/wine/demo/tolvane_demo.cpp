// tolvane_demo register-port PORT
//   Registers the monitor "Tolvane" (its DLL already in the system folder),
//   adds PORT through ",XcvMonitor Tolvane" "AddPort", and prints the spooler's
//   port list as a user would see it.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Fail(const char* step, DWORD error) {
  std::printf("%s failed: error %lu\n", step, static_cast<unsigned long>(error));
  return 1;
}

int RegisterPort(const std::wstring& port) {
  wchar_t name[] = L"Tolvane";
  wchar_t dll[] = L"Caskel.dll";
  MONITOR_INFO_2W monitor{name, nullptr, dll};
  if (!AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&monitor)) &&
      GetLastError() != ERROR_PRINT_MONITOR_ALREADY_INSTALLED)
    return Fail("AddMonitorW", GetLastError());
  std::printf("monitor \"Tolvane\" registered (Caskel.dll)\n");

  PRINTER_DEFAULTSW defaults{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  wchar_t object[] = L",XcvMonitor Tolvane";
  HANDLE xcv = nullptr;
  if (!OpenPrinterW(object, &xcv, &defaults)) return Fail("OpenPrinterW(,XcvMonitor Tolvane)", GetLastError());
  DWORD needed = 0, status = 0;
  const BOOL called = XcvDataW(xcv, L"AddPort", reinterpret_cast<PBYTE>(const_cast<wchar_t*>(port.c_str())),
                               static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
  ClosePrinter(xcv);
  if (!called) return Fail("XcvDataW(AddPort)", GetLastError());
  if (status != ERROR_SUCCESS && status != ERROR_INVALID_PARAMETER) return Fail("AddPort", status);
  std::printf("AddPort \"%ls\": status %lu%s\n", port.c_str(), static_cast<unsigned long>(status),
              status == ERROR_INVALID_PARAMETER ? " (the port exists already)" : "");

  EnumPortsW(nullptr, 2, nullptr, 0, &needed, &status);
  std::vector<BYTE> buffer(needed);
  DWORD count = 0;
  if (!EnumPortsW(nullptr, 2, buffer.data(), needed, &needed, &count)) return Fail("EnumPortsW", GetLastError());
  const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
  std::printf("ports of the machine:\n");
  for (DWORD i = 0; i < count; ++i)
    std::printf("  %-12ls monitor %-20ls %ls\n", ports[i].pPortName, ports[i].pMonitorName ? ports[i].pMonitorName : L"",
                ports[i].pDescription ? ports[i].pDescription : L"");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"register-port") return RegisterPort(argv[2]);
  std::printf("usage: tolvane_demo register-port PORT\n");
  return 2;
}
