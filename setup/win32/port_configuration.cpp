#include "setup/win32/port_configuration.h"

#include <string>

#include "common/port_values.h"
#include "common/win32/wide_text.h"

namespace tolvane {

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
