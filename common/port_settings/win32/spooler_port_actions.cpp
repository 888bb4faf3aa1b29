#include "common/port_settings/win32/spooler_port_actions.h"

#include <vector>

#include "common/port_values.h"
#include "common/win32/wide_text.h"

namespace tolvane {

bool RunMonitorCommand(const wchar_t* command, const void* input, DWORD inputBytes, void* output, DWORD outputBytes,
                       ACCESS_MASK access) {
    wchar_t object[] = L",XcvMonitor Tolvane";
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    HANDLE xcv = nullptr;
    if (!OpenPrinterW(object, &xcv, &defaults)) return false;
    BYTE unused[4] = {};
    DWORD needed = 0;
    DWORD status = ERROR_SUCCESS;
    const BOOL called =
        XcvDataW(xcv, command, static_cast<PBYTE>(const_cast<void*>(input)), inputBytes,
                 output != nullptr ? static_cast<PBYTE>(output) : unused, outputBytes, &needed, &status);
    const DWORD error = called ? status : GetLastError();
    ClosePrinter(xcv);
    SetLastError(error);
    // A monitor that refuses the request answers through the status word: the
    // call itself succeeds, and the port was not added or deleted.
    return called && status == ERROR_SUCCESS;
}

bool ChangeMonitorPort(const std::u16string& port, bool remove) {
    const DWORD bytes = static_cast<DWORD>((port.size() + 1) * sizeof(char16_t));
    return RunMonitorCommand(remove ? L"DeletePort" : L"AddPort", port.c_str(), bytes, nullptr, 0, SERVER_ALL_ACCESS);
}

bool AddLocalPortPrinter(const std::u16string& port) {
    std::wstring name = ToWide(PortPrinterName(port));
    std::wstring portName = ToWide(port);
    wchar_t driver[] = L"Tolvane";
    wchar_t processor[] = L"WinPrint";
    wchar_t dataType[] = L"RAW";
    PRINTER_INFO_2W info{};
    info.pPrinterName = name.data();
    info.pPortName = portName.data();
    info.pDriverName = driver;
    info.pPrintProcessor = processor;
    info.pDatatype = dataType;
    info.Attributes = PRINTER_ATTRIBUTE_DEFAULT;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (printer == nullptr) return false;
    ClosePrinter(printer);
    return true;
}

bool RemoveLocalPortPrinter(const std::u16string& port) {
    std::wstring name = ToWide(PortPrinterName(port));
    wchar_t dataType[] = L"RAW";
    PRINTER_DEFAULTSW defaults{dataType, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.data(), &printer, &defaults)) return false;
    const BOOL deleted = DeletePrinter(printer);
    ClosePrinter(printer);
    return deleted != FALSE;
}

bool MachinePortActions::Save(const std::u16string& port, const PortSettings& settings) {
    // Writes that fail are neither reported nor stop the save (the store's rule).
    store_.SavePortSettings(port, settings);
    return true;
}

bool MachinePortActions::FolderExists(std::u16string_view folder) {
    const std::wstring path = ToWide(folder);
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tolvane
