#include "setup/win32/port_configuration.h"

#include <string>

#include "common/port_values.h"
#include "common/win32/wide_text.h"

namespace tolvane {

void ShowPortDialogPlaceholder(HWND owner, std::u16string_view programName) {
    std::u16string key(kSetupPortsKeyPath);
    if (!key.empty() && key.back() == u'\\') key.pop_back();
    const std::u16string text =
        u"The port configuration dialog is not in this build of " + std::u16string(programName) +
        u".\r\n\r\nThe fax settings of each port of the Tolvane printer are kept in the registry, one key per port "
        u"under\r\nHKEY_LOCAL_MACHINE\\" +
        key + u"\r\n\r\nTo set them without the dialog, run\r\n" + std::u16string(programName) +
        u".exe /install tolvane /set Server=ADDRESS /set NAME=VALUE ...";
    MessageBoxW(owner, AsWide(text), L"Port configuration", MB_OK | MB_ICONINFORMATION);
}

void ConfigureMonitorPort(int bitness) {
    wchar_t port[] = {bitness == 32 ? L'F' : L'P', L'\0'};
    ConfigurePortW(nullptr, nullptr, port);
}

bool PortsKeyExists() {
    HKEY key = nullptr;
    const std::wstring path = ToWide(kSetupPortsKeyPath);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace tolvane
