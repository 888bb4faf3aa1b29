// The port settings dialog worked like a person, against the spooler and the
// monitor of a Wine prefix: the dialog runs on a thread of its own exactly as
// the setup tool opens it, and the UI driver on the main thread reads what it
// shows, types, clicks, and checks what reached the registry and the spooler.
//
//   port_dialogs_wine_test driver PPD   adds the printer driver "Tolvane"
//   port_dialogs_wine_test ports        the scenarios on port "P" (must exist)
//   port_dialogs_wine_test no-ports     the dialog without any port
//   port_dialogs_wine_test pose DIR     poses each dialog for screenshots.sh:
//                                       STEP.ready in DIR, then waits for STEP.done

#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/port_settings/port_dialog_texts.h"
#include "common/port_settings/win32/port_config_dialog.h"
#include "common/port_settings/win32/port_dialog_ids.h"
#include "common/port_settings/win32/spooler_port_actions.h"
#include "setup/win32/advapi_key_store.h"
#include "tests/wine/ui_driver/ui_driver.h"

namespace {

using namespace uitest;

constexpr wchar_t kCaption[] = L"Fax port settings";
constexpr wchar_t kProgram[] = L"Ruddock";

// The dialog as Ruddock opens it, on a thread of its own.
DWORD WINAPI DialogThread(void*) {
    tolvane::AdvapiKeyStore registry;
    tolvane::MachinePortActions actions(registry);
    tolvane::PortDialogContext context{actions, tolvane::EnglishPortDialogText, u"Ruddock", {}};
    return static_cast<DWORD>(tolvane::RunPortConfigDialog(nullptr, context));
}

HANDLE OpenDialog() { return CreateThread(nullptr, 0, DialogThread, nullptr, 0, nullptr); }

DWORD DialogResult(HANDLE thread) {
    DWORD result = 0;
    if (WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0) return static_cast<DWORD>(-2);
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return result;
}

std::wstring PortValue(const std::wstring& port, const wchar_t* name) {
    const std::wstring key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\" + port;
    wchar_t value[1024] = L"";
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

bool PortKeyExists(const std::wstring& port) {
    HKEY key = nullptr;
    const std::wstring path = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\" + port;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Answers the message box with this caption and text, pressing `button`.
bool Answer(const wchar_t* caption, const std::wstring& text, int button, const std::string& what) {
    HWND box = WaitForDialog(caption);
    const std::wstring shown = box ? ControlText(box, 0xFFFF) : L"";
    Check(box != nullptr && shown == text, what + ": \"" + Narrow(shown) + "\"");
    if (box == nullptr) return false;
    Click(box, button);
    return WaitUntilClosed(box);
}

void SelectPort(HWND dialog, const std::wstring& port) {
    HWND list = GetDlgItem(dialog, IDC_PORTLIST);
    const LRESULT index =
        SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(port.c_str()));
    SendMessageW(list, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PORTLIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void AddPort(HWND dialog, const std::wstring& typed, const std::wstring& answer, const std::string& what) {
    Click(dialog, IDC_BTN_ADD);
    HWND add = WaitForDialog(L"Add port");
    Check(add != nullptr, what + ": the add-port dialog opened");
    if (add == nullptr) return;
    Check(TypeInto(add, IDC_ADDPORT_NAME, typed), what + ": typed");
    Click(add, IDOK);
    Answer(kProgram, answer, IDOK, what);
    if (IsWindow(add)) {
        Check(ControlText(add, IDC_ADDPORT_NAME).find(L' ') == std::wstring::npos,
              what + ": the name shows without blanks");
        Click(add, IDCANCEL);
        WaitUntilClosed(add);
    }
}

int Ports() {
    // 1. Opens on "P" with its saved server; a new server and OK reach the registry.
    HANDLE thread = OpenDialog();
    HWND dialog = WaitForDialog(kCaption);
    Check(dialog != nullptr, "the dialog opened");
    if (dialog == nullptr) return 1;
    Check(ControlText(dialog, IDC_PORTLIST) == L"P", "port P selected");
    Check(ControlText(dialog, IDC_SERVER) == PortValue(L"P", L"Server"),
          "the saved server shown: " + Narrow(ControlText(dialog, IDC_SERVER)));
    Check(ControlText(dialog, IDC_BTN_PRINTER) == L"Add printer", "the printer button offers to add");
    Check(ControlText(dialog, IDC_SYSACCOUNT).rfind(L"Program runs as ", 0) == 0, "the account line");
    Check(TypeInto(dialog, IDC_SERVER, L"10.1.2.3:4559"), "a new server typed");
    // The port's address-book folder ("c:\tiff" by default) must exist for OK to save.
    Check(TypeInto(dialog, IDC_BOOKFOLDER, L"C:\\windows"), "an existing address-book folder typed");
    Click(dialog, IDOK);
    Check(DialogResult(thread) == IDOK, "OK closed the dialog");
    Check(PortValue(L"P", L"Server") == L"10.1.2.3:4559", "the server is in the registry");
    Check(PortValue(L"P", L"Description") == L"Tolvane Port" && PortValue(L"P", L"AddressBookPath") == L"C:\\windows",
          "every value written: " + Narrow(PortValue(L"P", L"Description")) + ", " +
              Narrow(PortValue(L"P", L"AddressBookPath")));

    // 2. Add " 2 ", its printer added and removed, then deleted.
    thread = OpenDialog();
    dialog = WaitForDialog(kCaption);
    if (dialog == nullptr) return 1;
    AddPort(dialog, L" 2 ", L"The port is added.", "add \" 2 \"");
    Check(PortKeyExists(L"2"), "port 2 created by the monitor");
    Check(SendDlgItemMessageW(dialog, IDC_PORTLIST, CB_GETCURSEL, 0, 0) == 0 &&
              SendDlgItemMessageW(dialog, IDC_PORTLIST, CB_GETCOUNT, 0, 0) == 2,
          "the list reloaded, its first port selected");
    AddPort(dialog, L" p ", L"A port of that name exists already.", "add \" p \"");
    AddPort(dialog, L"a\\b", L"The port could not be added.", "add \"a\\b\"");
    AddPort(dialog, L"   ", L"Enter a port name of one character.", "add blanks");

    SelectPort(dialog, L"2");
    Check(ControlText(dialog, IDC_PORTLIST) == L"2", "port 2 selected");
    Click(dialog, IDC_BTN_PRINTER);
    Answer(kProgram, L"The printer of the port is added.", IDOK, "printer added");
    Check(tolvane::LocalPrinterExists(u"Tolvane_2"), "printer Tolvane_2 exists");
    Check(ControlText(dialog, IDC_BTN_PRINTER) == L"Remove printer", "the printer button offers to remove");
    Click(dialog, IDC_BTN_PRINTER);
    Answer(kProgram, L"The printer of the port is removed.", IDOK, "printer removed");
    Check(!tolvane::LocalPrinterExists(u"Tolvane_2"), "printer Tolvane_2 is gone");

    Click(dialog, IDC_BTN_DELETE);
    Answer(L"", L"Delete the port 2?", IDYES, "delete asks");
    Answer(kProgram, L"The port is deleted.", IDOK, "port deleted");
    Check(!PortKeyExists(L"2"), "port 2 is gone");
    Check(ControlText(dialog, IDC_PORTLIST) == L"P", "the first port shown after the deletion");

    // 3. A missing address-book folder blocks OK; Cancel writes nothing.
    Check(TypeInto(dialog, IDC_BOOKFOLDER, L"C:\\no such folder"), "a missing folder typed");
    Click(dialog, IDOK);
    Answer(kProgram, L"The address book folder does not exist.", IDOK, "OK refused");
    Click(dialog, IDCANCEL);
    Check(DialogResult(thread) == IDCANCEL, "Cancel closed the dialog");
    Check(PortValue(L"P", L"AddressBookPath") != L"C:\\no such folder", "nothing written");
    return CheckFailures() == 0 ? 0 : 1;
}

int NoPorts() {
    HANDLE thread = OpenDialog();
    Answer(kProgram, L"There is no port. Add a port first.", IDOK, "the warning");
    HWND dialog = WaitForDialog(kCaption);
    Check(dialog != nullptr, "the dialog opened");
    if (dialog == nullptr) return 1;
    Check(WaitForDialog(kProgram, 1000) == nullptr, "the warning showed once");
    Click(dialog, IDOK);
    Check(WaitForDialog(kProgram, 1000) == nullptr && IsWindow(dialog), "OK does nothing");
    Click(dialog, IDCANCEL);
    Check(DialogResult(thread) == IDCANCEL, "Cancel closed it");
    return CheckFailures() == 0 ? 0 : 1;
}

// The monitor's Configure Port shows the same dialog for its one port, the
// port and printer buttons off: posed here over the machine's ports.
class OnePortActions final : public tolvane::PortDialogActions {
public:
    explicit OnePortActions(tolvane::PortDialogActions& machine) : machine_(machine) {}
    std::vector<std::u16string> Ports() override { return {u"P"}; }
    void Load(const std::u16string& port, tolvane::PortSettings& settings) override { machine_.Load(port, settings); }
    bool Save(const std::u16string&, const tolvane::PortSettings&) override { return false; }
    bool ManagesPorts() const override { return false; }
    bool ChangeFaxPort(const std::u16string&, bool) override { return false; }
    bool PrinterExists(const std::u16string& printer) override { return machine_.PrinterExists(printer); }
    bool AddPortPrinter(const std::u16string&) override { return false; }
    bool RemovePortPrinter(const std::u16string&) override { return false; }
    bool FolderExists(std::u16string_view) override { return true; }

private:
    tolvane::PortDialogActions& machine_;
};

std::wstring poseFolder;
bool monitorPose = false;

DWORD WINAPI PosedDialogThread(void*) {
    tolvane::AdvapiKeyStore registry;
    tolvane::MachinePortActions machine(registry);
    OnePortActions onePort(machine);
    tolvane::PortDialogActions& actions = monitorPose ? static_cast<tolvane::PortDialogActions&>(onePort) : machine;
    tolvane::PortDialogContext context{actions, tolvane::EnglishPortDialogText,
                                       monitorPose ? u"Tolvane Port" : u"Ruddock", u"P"};
    return static_cast<DWORD>(tolvane::RunPortConfigDialog(nullptr, context));
}

// Writes STEP.ready and waits (up to ten minutes) for the screenshot's STEP.done.
void Pose(const std::wstring& step) {
    CloseHandle(CreateFileW((poseFolder + L"\\" + step + L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
    const std::wstring done = poseFolder + L"\\" + step + L".done";
    for (int i = 0; i < 3000 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(200);
}

int PoseDialogs(const std::wstring& folder) {
    poseFolder = folder;
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const bool monitor : {false, true}) {
        monitorPose = monitor;
        HANDLE thread = CreateThread(nullptr, 0, PosedDialogThread, nullptr, 0, nullptr);
        HWND dialog = WaitForDialog(kCaption);
        if (dialog == nullptr) return 1;
        Pose(monitor ? L"monitor" : L"portconfig");
        if (!monitor) {
            Click(dialog, IDC_BTN_ADD);
            HWND add = WaitForDialog(L"Add port");
            if (add == nullptr) return 1;
            Pose(L"addport");
            Click(add, IDCANCEL);
            WaitUntilClosed(add);
        }
        Click(dialog, IDCANCEL);
        DialogResult(thread);
    }
    return 0;
}

int AddDriver(const wchar_t* ppd) {
    wchar_t name[] = L"Tolvane", driver[] = L"wineps.drv", config[] = L"wineps.drv";
    std::wstring data = ppd;
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = name;
    info.pDriverPath = driver;
    info.pDataFile = data.data();
    info.pConfigFile = config;
    if (AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) ||
        GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return 0;
    std::printf("AddPrinterDriver failed: %lu\n", GetLastError());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"driver" && argc > 2) return AddDriver(argv[2]);
    if (mode == L"ports") return Ports();
    if (mode == L"no-ports") return NoPorts();
    if (mode == L"pose" && argc > 2) return PoseDialogs(argv[2]);
    std::printf("usage: port_dialogs_wine_test driver PPD | ports | no-ports\n");
    return 2;
}
