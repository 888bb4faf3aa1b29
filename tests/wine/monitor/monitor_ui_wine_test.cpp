// The monitor's Configure Port under Wine: the user interface entry a printer's
// port page calls, built from the same source as the 32-bit monitor's, opens
// the port settings dialog for its one port, shows the values the monitor
// gives ("GetConfig"), and on OK hands them back ("SetConfig") to the monitor
// running in Wine's spooler, which writes them. The UI driver works the dialog
// like a person; the registry shows what arrived.

#include <windows.h>

#include <winspool.h>
#include <winsplp.h>

#include <cstdio>
#include <string>

#include "common/port_settings/win32/port_dialog_ids.h"
#include "common/port_settings/win32/spooler_port_actions.h"
#include "tests/wine/ui_driver/ui_driver.h"

extern "C" PMONITORUI WINAPI InitializePrintMonitorUI();

namespace {

using namespace uitest;

const std::wstring kPortKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\P";

std::wstring PortValue(const wchar_t* name) {
    wchar_t value[1024] = L"";
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kPortKey.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return L"<none>";
    return value;
}

void SetPortValue(const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

DWORD WINAPI ConfigureThread(void*) {
    return InitializePrintMonitorUI()->pfnConfigurePortUI(nullptr, nullptr, const_cast<wchar_t*>(L"P"));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The monitor of the prefix (MONITOR_DLL) with its port "P".
    std::wstring dll = argc > 1 ? argv[1] : L"Caskel.dll";
    MONITOR_INFO_2W info{const_cast<wchar_t*>(L"Tolvane"), nullptr, dll.data()};
    if (!AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&info)))
        Check(GetLastError() == ERROR_PRINT_MONITOR_ALREADY_INSTALLED, "the monitor is installed");
    tolvane::ChangeMonitorPort(u"P", /*remove=*/false);
    SetPortValue(L"Server", L"saved.example.org:4559");
    SetPortValue(L"AddressBookPath", L"C:\\windows");

    HANDLE thread = CreateThread(nullptr, 0, ConfigureThread, nullptr, 0, nullptr);
    HWND dialog = WaitForDialog(L"Fax port settings");
    Check(dialog != nullptr, "Configure Port opened the port settings dialog");
    if (dialog == nullptr) return 1;
    Check(ControlText(dialog, IDC_PORTLIST) == L"P", "for port P");
    Check(ControlText(dialog, IDC_SERVER) == L"saved.example.org:4559",
          "showing the saved server: " + Narrow(ControlText(dialog, IDC_SERVER)));
    Check(!IsWindowEnabled(GetDlgItem(dialog, IDC_BTN_ADD)) && !IsWindowEnabled(GetDlgItem(dialog, IDC_BTN_DELETE)) &&
              !IsWindowEnabled(GetDlgItem(dialog, IDC_BTN_PRINTER)),
          "the port page's own buttons add and delete ports: the dialog's are off");
    Check(TypeInto(dialog, IDC_SERVER, L"10.9.8.7:4559"), "a new server typed");
    Check(TypeInto(dialog, IDC_SENDER, L"Front desk"), "a new sender typed");
    Click(dialog, IDOK);
    DWORD result = 0;
    Check(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &result) && result == TRUE,
          "OK closed the dialog and the entry answered TRUE");
    Check(PortValue(L"Server") == L"10.9.8.7:4559", "the monitor saved the server: " + Narrow(PortValue(L"Server")));
    Check(PortValue(L"Sender") == L"Front desk", "and the sender");
    Check(PortValue(L"AddressBookPath") == L"C:\\windows", "the other values kept");

    // Cancel writes nothing.
    thread = CreateThread(nullptr, 0, ConfigureThread, nullptr, 0, nullptr);
    dialog = WaitForDialog(L"Fax port settings");
    if (dialog == nullptr) return 1;
    Check(TypeInto(dialog, IDC_SERVER, L"never.example.org"), "another server typed");
    Click(dialog, IDCANCEL);
    WaitForSingleObject(thread, 10000);
    Check(PortValue(L"Server") == L"10.9.8.7:4559", "Cancel saved nothing");
    return CheckFailures() == 0 ? 0 : 1;
}
