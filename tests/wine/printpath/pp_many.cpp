// pp_many MONITOR-DLL COUNT
//   Prints COUNT documents at the same time on the ports M1 to M<COUNT>, from
//   COUNT threads, calling the monitor's port entry points as the spooler
//   would (Wine's spooler prints from one process at a time). Each port is
//   made first from port P's settings, with no confirmation. Document N is
//   named "Many N" and shows "Many users N". Prints each document's
//   EndDocPort result and how long all of them took; exits 0 when every
//   EndDocPort succeeded.

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr wchar_t kMonitorKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane";
// Each document says which it is, so the server's copy tells them apart.
std::string DocumentText(int number) {
    return "%!PS-Adobe-3.0\n%%Pages: 1\n/Helvetica findfont 24 scalefont setfont\n72 720 moveto (Many users " +
           std::to_string(number) + ") show\nshowpage\n%%EOF\n";
}

// Port M<n>: port P's values, without the confirmation box.
bool MakePort(HKEY ports, int number) {
    HKEY source = nullptr, target = nullptr;
    const std::wstring name = L"M" + std::to_wstring(number);
    if (RegOpenKeyExW(ports, L"P", 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    bool made =
        RegCreateKeyExW(ports, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) == ERROR_SUCCESS;
    for (DWORD index = 0; made; ++index) {
        wchar_t value[256];
        DWORD valueLength = 256, type = 0;
        BYTE data[4096];
        DWORD dataLength = sizeof data;
        if (RegEnumValueW(source, index, value, &valueLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        made = RegSetValueExW(target, value, 0, type, data, dataLength) == ERROR_SUCCESS;
    }
    const wchar_t noConfirmation[] = L"0";
    if (made)
        made = RegSetValueExW(target, L"Confirm", 0, REG_SZ, reinterpret_cast<const BYTE*>(noConfirmation),
                              sizeof noConfirmation) == ERROR_SUCCESS;
    if (target) RegCloseKey(target);
    RegCloseKey(source);
    return made;
}

struct Document {
    int number = 0;
    bool ended = false;
    DWORD error = 0;
    DWORD milliseconds = 0;
};

void Print(LPMONITOR2 table, HANDLE monitor, Document& document, DWORD start) {
    std::wstring port = L"M" + std::to_wstring(document.number);
    std::wstring name = L"Many " + std::to_wstring(document.number);
    HANDLE handle = nullptr;
    wchar_t printer[] = L"";
    DOC_INFO_1W info{name.data(), nullptr, nullptr};
    std::string text = DocumentText(document.number);
    DWORD written = 0;
    document.ended =
        table->pfnOpenPort(monitor, port.data(), &handle) &&
        table->pfnStartDocPort(handle, printer, 0, 1, reinterpret_cast<LPBYTE>(&info)) &&
        table->pfnWritePort(handle, reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size()), &written) &&
        table->pfnEndDocPort(handle);
    document.error = document.ended ? 0 : GetLastError();
    document.milliseconds = GetTickCount() - start;
    if (handle) table->pfnClosePort(handle);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc == 3 ? _wtoi(argv[2]) : 0;
    if (count < 1 || count > 99) {
        std::printf("usage: pp_many MONITOR-DLL COUNT (1 to 99)\n");
        return 2;
    }
    HKEY root = nullptr, ports = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMonitorKey, 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS ||
        RegOpenKeyExW(root, L"Ports", 0, KEY_ALL_ACCESS, &ports) != ERROR_SUCCESS) {
        std::printf("pp_many: the monitor's key is missing\n");
        return 1;
    }
    for (int number = 1; number <= count; ++number) {
        if (!MakePort(ports, number)) {
            std::printf("pp_many: cannot make port M%d from port P\n", number);
            return 1;
        }
    }
    RegCloseKey(ports);
    HMODULE library = LoadLibraryW(argv[1]);
    using Initialize = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);
    const auto initialize =
        library
            ? reinterpret_cast<Initialize>(reinterpret_cast<void*>(GetProcAddress(library, "InitializePrintMonitor2")))
            : nullptr;
    if (!initialize) {
        std::printf("pp_many: cannot load %ls (error %lu)\n", argv[1], static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    MONITORINIT init{};
    init.cbSize = sizeof init;
    init.hckRegistryRoot = reinterpret_cast<HKEYMONITOR>(root);
    init.bLocal = TRUE;
    HANDLE monitor = nullptr;
    LPMONITOR2 table = initialize(&init, &monitor);
    if (!table) {
        std::printf("pp_many: the monitor did not start\n");
        return 1;
    }

    std::vector<Document> documents(static_cast<std::size_t>(count));
    std::vector<std::thread> threads;
    const DWORD start = GetTickCount();
    for (int number = 1; number <= count; ++number) {
        Document& document = documents[static_cast<std::size_t>(number - 1)];
        document.number = number;
        threads.emplace_back([&, start] { Print(table, monitor, document, start); });
    }
    for (std::thread& thread : threads) thread.join();
    const DWORD total = GetTickCount() - start;

    int ended = 0;
    for (const Document& document : documents) {
        std::printf("document Many %d: EndDocPort %s after %lu ms\n", document.number,
                    document.ended ? "TRUE" : "FALSE", static_cast<unsigned long>(document.milliseconds));
        if (!document.ended) std::printf("  error %lu\n", static_cast<unsigned long>(document.error));
        ended += document.ended ? 1 : 0;
    }
    std::printf("all %d documents: %lu ms\n", count, static_cast<unsigned long>(total));
    table->pfnShutdown(monitor);
    RegCloseKey(root);
    return ended == count ? 0 : 1;
}
