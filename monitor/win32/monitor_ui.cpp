// The 32-bit build's monitor user interface, used when a printer's port page
// adds, configures or deletes a fax port:
//  - Add: creates the port named by the caller, or else the first free one-letter
//    name "A" to "Z", through the monitor's "AddPort" command.
//  - Configure: the port settings dialog the setup tool shows, for this port
//    alone: its values come from the monitor ("GetConfig") and go back to it
//    on OK ("SetConfig", which the monitor takes from administrators only).
//    Its texts are Language.ini's beside this library, English without it.
//  - Delete: asks for confirmation, then runs the "DeletePort" command.

#include <string>
#include <utility>
#include <vector>

#include "common/entry_guard.h"
#include "common/language/language_ini.h"
#include "common/port_config_record.h"
#include "common/port_settings/port_config_exchange.h"
#include "common/port_settings/win32/port_config_dialog.h"
#include "common/port_settings/win32/spooler_port_actions.h"
#include "common/win32/wide_text.h"
#include "monitor/win32/monitor.h"

namespace tolvane {
namespace {

constexpr wchar_t kCaption[] = L"Tolvane Port";

// The monitor's transceive object, opened with the rights the command needs.
class XcvMonitor {
public:
    explicit XcvMonitor(ACCESS_MASK access) {
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
        wchar_t object[] = L",XcvMonitor Tolvane";
        if (!OpenPrinterW(object, &handle_, &defaults)) handle_ = nullptr;
    }
    ~XcvMonitor() {
        if (handle_ != nullptr) ClosePrinter(handle_);
    }
    XcvMonitor(const XcvMonitor&) = delete;
    XcvMonitor& operator=(const XcvMonitor&) = delete;

    // The command's status, or the reason the call itself failed.
    DWORD Run(const wchar_t* command, const std::wstring& port) {
        if (handle_ == nullptr) return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_HANDLE;
        DWORD needed = 0, status = ERROR_SUCCESS;
        const DWORD size = static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t));
        if (!XcvDataW(handle_, command, reinterpret_cast<PBYTE>(const_cast<wchar_t*>(port.c_str())), size, nullptr, 0,
                      &needed, &status))
            return GetLastError();
        return status;
    }

private:
    HANDLE handle_ = nullptr;
};

void ShowError(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

BOOL WINAPI AddPortUi(PCWSTR, HWND owner, PCWSTR requested, PWSTR* added) {
    XcvMonitor xcv(SERVER_ACCESS_ADMINISTER);
    std::wstring name;
    if (requested != nullptr && requested[0] != L'\0') {
        name = requested;
    } else {
        for (wchar_t letter = L'A'; letter <= L'Z' && name.empty(); ++letter) {
            const std::wstring candidate(1, letter);
            if (xcv.Run(L"PortExists", candidate) == ERROR_SUCCESS) name = candidate;
        }
        if (name.empty()) {
            ShowError(owner, L"Every fax port name from A to Z is in use.");
            return FailWith(ERROR_ALREADY_EXISTS);
        }
    }
    const DWORD status = xcv.Run(L"AddPort", name);
    if (status != ERROR_SUCCESS) {
        ShowError(owner, L"The fax port " + name + L" could not be added (error " + std::to_wstring(status) + L").");
        return FailWith(status);
    }
    if (added != nullptr) {
        const SIZE_T bytes = (name.size() + 1) * sizeof(wchar_t);
        *added = static_cast<PWSTR>(HeapAlloc(GetProcessHeap(), 0, bytes));
        if (*added != nullptr) CopyMemory(*added, name.c_str(), bytes);
    }
    return TRUE;
}

// The one port the printer's port page configures, through the monitor.
class MonitorPortActions final : public PortDialogActions {
public:
    explicit MonitorPortActions(std::u16string port) : port_(std::move(port)) {}

    std::vector<std::u16string> Ports() override { return {port_}; }
    void Load(const std::u16string& port, PortSettings& settings) override {
        PortConfigRecord record{};
        if (Fetch(port, record)) LoadSettingsFromRecord(record, settings);
    }
    bool Save(const std::u16string& port, const PortSettings& settings) override {
        PortConfigRecord record{};
        if (!Fetch(port, record)) return false;
        SaveSettingsToRecord(settings, record);
        return RunMonitorCommand(L"SetConfig", &record, sizeof record, nullptr, 0, SERVER_ACCESS_ADMINISTER);
    }
    bool ManagesPorts() const override { return false; }
    // The port page adds and deletes ports and printers itself.
    bool ChangeFaxPort(const std::u16string&, bool) override { return false; }
    bool PrinterExists(const std::u16string& printer) override { return LocalPrinterExists(printer); }
    bool AddPortPrinter(const std::u16string&) override { return false; }
    bool RemovePortPrinter(const std::u16string&) override { return false; }
    bool FolderExists(std::u16string_view folder) override {
        return GetFileAttributesW(ToWide(folder).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    // The port's record: with the password for administrators, without it for
    // everyone else (who cannot save either).
    static bool Fetch(const std::u16string& port, PortConfigRecord& record) {
        const DWORD bytes = static_cast<DWORD>((port.size() + 1) * sizeof(char16_t));
        return RunMonitorCommand(L"GetConfig", port.c_str(), bytes, &record, sizeof record, SERVER_ACCESS_ADMINISTER) ||
               RunMonitorCommand(L"GetConfig", port.c_str(), bytes, &record, sizeof record, SERVER_ACCESS_ENUMERATE);
    }

    std::u16string port_;
};

// The bytes of Language.ini in this library's folder; empty when it is not there.
std::string LanguageFileBesideLibrary() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(PortDialogModule(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring file(path, length);
    file.resize(file.find_last_of(L'\\') + 1);
    file += L"Language.ini";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[8192];
    DWORD read = 0;
    // Language.ini is a few kilobytes; a file far larger is not one.
    while (bytes.size() < (1u << 20) && ReadFile(handle, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(handle);
    return bytes;
}

BOOL WINAPI ConfigurePortUi(PCWSTR, HWND owner, PCWSTR port) {
    if (port == nullptr || port[0] == L'\0') return FailWith(ERROR_INVALID_PARAMETER);
    MonitorPortActions actions(ToU16(port));
    LanguageIni language;
    language.SetFile(u"Language.ini", LanguageFileBesideLibrary());
    language.SetSection(u"EN");
    auto text = [&language](std::u16string_view key) {
        std::u16string found = language.Read(key);
        return found == kNoValue ? EnglishPortDialogText(key) : found;
    };
    PortDialogContext context{actions, text, std::u16string(u"Tolvane Port"), ToU16(port)};
    if (RunPortConfigDialog(owner, context) == -1) return FALSE;  // the dialog's last error stands
    return TRUE;
}

BOOL WINAPI DeletePortUi(PCWSTR, HWND owner, PCWSTR port) {
    if (port == nullptr || port[0] == L'\0') return FailWith(ERROR_INVALID_PARAMETER);
    const std::wstring question = L"Delete the fax port " + std::wstring(port) + L"?";
    if (MessageBoxW(owner, question.c_str(), kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FailWith(ERROR_CANCELLED);
    XcvMonitor xcv(SERVER_ACCESS_ADMINISTER);
    const DWORD status = xcv.Run(L"DeletePort", port);
    if (status != ERROR_SUCCESS) {
        ShowError(owner, L"The fax port " + std::wstring(port) + L" could not be deleted (error " +
                             std::to_wstring(status) + L").");
        return FailWith(status);
    }
    return TRUE;
}

void SetError(std::uint32_t error) { SetLastError(error); }

// The entries the printer's port page calls, each through the exception guard.
BOOL WINAPI GuardedAddPortUi(PCWSTR server, HWND owner, PCWSTR requested, PWSTR* added) {
    return GuardedEntry(FALSE, SetError, [&] { return AddPortUi(server, owner, requested, added); });
}
BOOL WINAPI GuardedConfigurePortUi(PCWSTR server, HWND owner, PCWSTR port) {
    return GuardedEntry(FALSE, SetError, [&] { return ConfigurePortUi(server, owner, port); });
}
BOOL WINAPI GuardedDeletePortUi(PCWSTR server, HWND owner, PCWSTR port) {
    return GuardedEntry(FALSE, SetError, [&] { return DeletePortUi(server, owner, port); });
}

const MONITORUI g_monitorUi = {sizeof(MONITORUI), GuardedAddPortUi, GuardedConfigurePortUi, GuardedDeletePortUi};

}  // namespace
}  // namespace tolvane

extern "C" PMONITORUI WINAPI InitializePrintMonitorUI() { return const_cast<PMONITORUI>(&tolvane::g_monitorUi); }
