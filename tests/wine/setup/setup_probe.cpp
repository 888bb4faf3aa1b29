// What the spooler holds, for the setup tool's Wine suite: one line per
// monitor, driver, port and printer, tab-separated, so that the suite can
// check what an install left and an uninstall removed.
//
//   setup_probe objects   monitor NAME DLL
//                         driver ENVIRONMENT NAME DRIVER-FILE DATA-FILE CONFIG-FILE
//                         port NAME MONITOR
//                         printer NAME PORT DRIVER
//
// The 64-bit build asks for the drivers of both environments, the 32-bit build
// for "Windows NT x86" only (as on 32-bit Windows).

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Lines go out as UTF-8, whatever the console's code page.
void Line(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

std::wstring Text(const wchar_t* text) { return text != nullptr ? text : L"(none)"; }

// Calls an enumeration twice, first for the size; false when it failed.
template <typename Call>
bool Enumerate(Call call, std::vector<BYTE>& buffer, DWORD& count) {
    DWORD needed = 0;
    count = 0;
    call(nullptr, 0, &needed, &count);
    buffer.assign(needed + 16, 0);
    return call(buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count) != FALSE;
}

void Monitors() {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate([](BYTE* b, DWORD s, DWORD* n, DWORD* c) { return EnumMonitorsW(nullptr, 2, b, s, n, c); }, buffer,
                   count)) {
        Line(L"error EnumMonitorsW " + std::to_wstring(GetLastError()));
        return;
    }
    const auto* info = reinterpret_cast<const MONITOR_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) Line(L"monitor\t" + Text(info[i].pName) + L"\t" + Text(info[i].pDLLName));
}

// The file name of a driver's path (the spooler answers full paths).
std::wstring FileName(const wchar_t* path) {
    const std::wstring text = Text(path);
    const size_t slash = text.find_last_of(L"\\/");
    return slash == std::wstring::npos ? text : text.substr(slash + 1);
}

void Drivers(const wchar_t* environment) {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    wchar_t* env = const_cast<wchar_t*>(environment);
    if (!Enumerate(
            [env](BYTE* b, DWORD s, DWORD* n, DWORD* c) { return EnumPrinterDriversW(nullptr, env, 3, b, s, n, c); },
            buffer, count)) {
        Line(L"error EnumPrinterDriversW " + std::wstring(environment) + L" " + std::to_wstring(GetLastError()));
        return;
    }
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        Line(L"driver\t" + std::wstring(environment) + L"\t" + Text(info[i].pName) + L"\t" +
             FileName(info[i].pDriverPath) + L"\t" + FileName(info[i].pDataFile) + L"\t" +
             FileName(info[i].pConfigFile));
    }
}

void Ports() {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate([](BYTE* b, DWORD s, DWORD* n, DWORD* c) { return EnumPortsW(nullptr, 2, b, s, n, c); }, buffer,
                   count)) {
        Line(L"error EnumPortsW " + std::to_wstring(GetLastError()));
        return;
    }
    const auto* info = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) Line(L"port\t" + Text(info[i].pPortName) + L"\t" + Text(info[i].pMonitorName));
}

void Printers() {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate([](BYTE* b, DWORD s, DWORD* n,
                      DWORD* c) { return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, b, s, n, c); },
                   buffer, count)) {
        Line(L"error EnumPrintersW " + std::to_wstring(GetLastError()));
        return;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        Line(L"printer\t" + Text(info[i].pPrinterName) + L"\t" + Text(info[i].pPortName) + L"\t" +
             Text(info[i].pDriverName));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 || std::wstring(argv[1]) != L"objects") {
        std::fprintf(stderr, "usage: setup_probe objects\n");
        return 2;
    }
    Monitors();
    if (sizeof(void*) == 8) Drivers(L"Windows x64");
    Drivers(L"Windows NT x86");
    Ports();
    Printers();
    return 0;
}
