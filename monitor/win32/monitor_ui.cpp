// The 32-bit build's monitor user interface, used when a printer's port page
// adds, configures or deletes a fax port. It is deliberately small: the fax
// settings themselves are edited in the setup tool's port dialog.
//  - Add: creates the port named by the caller, or else the first free one-letter
//    name "A" to "Z", through the monitor's "AddPort" command.
//  - Configure: tells the user where the port's fax settings are edited.
//  - Delete: asks for confirmation, then runs the "DeletePort" command.

#include <string>

#include "common/entry_guard.h"
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

BOOL WINAPI ConfigurePortUi(PCWSTR, HWND owner, PCWSTR port) {
    const std::wstring text = L"The fax settings of port " + std::wstring(port != nullptr ? port : L"") +
                              L" are edited in the Tolvane setup tool (Ports).";
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
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
