// pp_setup install PORT PRINTER MONITOR-DLL PPD-PATH
//   Registers the monitor "Tolvane", adds PORT through ",XcvMonitor Tolvane"
//   "AddPort" (as the setup tool does), installs Wine's PostScript driver with
//   PPD-PATH as its printer description for both Windows environments, and
//   adds PRINTER on PORT.
// pp_setup set PORT NAME VALUE [NAME VALUE ...]
//   Writes port settings where the setup tool keeps them:
//   HKLM\SYSTEM\ControlSet001\Control\Print\Monitors\Tolvane\Ports\PORT.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kDriverName[] = L"Tolvane Fax Driver";
constexpr wchar_t kSetupPortsKey[] = L"SYSTEM\\ControlSet001\\Control\\Print\\Monitors\\Tolvane\\Ports\\";

int Fail(const char* step, DWORD error) {
    std::printf("pp_setup: %s failed: error %lu\n", step, static_cast<unsigned long>(error));
    return 1;
}

bool AddDriver(const wchar_t* environment, const std::wstring& ppd) {
    wchar_t name[64], driver[] = L"wineps.drv", config[] = L"wineps.drv";
    lstrcpyW(name, kDriverName);
    std::wstring data = ppd;
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = name;
    info.pEnvironment = const_cast<wchar_t*>(environment);
    info.pDriverPath = driver;
    info.pDataFile = data.data();
    info.pConfigFile = config;
    if (AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info))) return true;
    return GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

// The machine's ports as the spooler lists them, the fax port among them.
int ListPorts() {
    DWORD needed = 0, count = 0;
    EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<DWORD_PTR> buffer(needed / sizeof(DWORD_PTR) + 1);  // aligned for the records' pointers
    if (!EnumPortsW(nullptr, 2, reinterpret_cast<LPBYTE>(buffer.data()), needed, &needed, &count))
        return Fail("EnumPortsW", GetLastError());
    const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (ports[i].pMonitorName == nullptr || lstrcmpW(ports[i].pMonitorName, L"Tolvane") != 0) continue;
        std::printf("pp_setup: spooler lists port %ls of monitor %ls (%ls)\n", ports[i].pPortName,
                    ports[i].pMonitorName, ports[i].pDescription ? ports[i].pDescription : L"");
    }
    return 0;
}

int Install(const std::wstring& port, const std::wstring& printer, const std::wstring& dll, const std::wstring& ppd) {
    wchar_t monitorName[] = L"Tolvane";
    std::wstring dllName = dll;
    MONITOR_INFO_2W monitor{monitorName, nullptr, dllName.data()};
    if (!AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&monitor)) &&
        GetLastError() != ERROR_PRINT_MONITOR_ALREADY_INSTALLED)
        return Fail("AddMonitorW", GetLastError());

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

    // A 64-bit system prints from both kinds of program; a 32-bit one knows no x64 drivers.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const bool system64 = sizeof(void*) == 8 || wow64;
    if (system64 && !AddDriver(L"Windows x64", ppd)) return Fail("AddPrinterDriverW(Windows x64)", GetLastError());
    if (!AddDriver(L"Windows NT x86", ppd)) return Fail("AddPrinterDriverW(Windows NT x86)", GetLastError());

    std::wstring printerName = printer, portName = port;
    wchar_t driverName[64], processor[] = L"winprint", datatype[] = L"RAW";
    lstrcpyW(driverName, kDriverName);
    PRINTER_INFO_2W info{};
    info.pPrinterName = printerName.data();
    info.pPortName = portName.data();
    info.pDriverName = driverName;
    info.pPrintProcessor = processor;
    info.pDatatype = datatype;
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (added == nullptr && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) return Fail("AddPrinterW", GetLastError());
    if (added != nullptr) ClosePrinter(added);
    std::printf("pp_setup: monitor Tolvane (%ls), port %ls, printer \"%ls\" on %ls ready\n", dll.c_str(), port.c_str(),
                printer.c_str(), port.c_str());
    return ListPorts();
}

// Windows keeps the control sets as ControlSet001 and so on, with
// CurrentControlSet a link to the one in use; a Wine prefix has only
// CurrentControlSet. The link the other way round lets the setup tool's
// literal "ControlSet001" path reach the same keys, as on Windows.
bool EnsureControlSet001() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\ControlSet001\\Control", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return true;
    }
    DWORD disposition = 0;
    LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\ControlSet001", 0, nullptr,
                                  REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                                  nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) {
        std::printf("pp_setup: cannot link ControlSet001: error %ld\n", result);
        return false;
    }
    const wchar_t target[] = L"\\Registry\\Machine\\System\\CurrentControlSet";
    result = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target),
                            static_cast<DWORD>(lstrlenW(target) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) std::printf("pp_setup: cannot link ControlSet001: error %ld\n", result);
    return result == ERROR_SUCCESS;
}

int Set(const std::wstring& port, int count, wchar_t** pairs) {
    if (!EnsureControlSet001()) return 1;
    const std::wstring path = std::wstring(kSetupPortsKey) + port;
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key);
    if (result != ERROR_SUCCESS) return Fail("RegOpenKeyExW(port key)", static_cast<DWORD>(result));
    for (int i = 0; i + 1 < count; i += 2) {
        const std::wstring value = pairs[i + 1];
        result = RegSetValueExW(key, pairs[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        if (result != ERROR_SUCCESS) break;
        std::printf("pp_setup: %ls\\%ls = \"%ls\"\n", port.c_str(), pairs[i], value.c_str());
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : Fail("RegSetValueExW", static_cast<DWORD>(result));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 6 && std::wstring(argv[1]) == L"install") return Install(argv[2], argv[3], argv[4], argv[5]);
    if (argc >= 5 && (argc - 3) % 2 == 0 && std::wstring(argv[1]) == L"set") return Set(argv[2], argc - 3, argv + 3);
    std::printf("usage: pp_setup install PORT PRINTER MONITOR-DLL PPD | set PORT NAME VALUE...\n");
    return 2;
}
