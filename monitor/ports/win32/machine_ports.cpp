#include "monitor/ports/win32/machine_ports.h"

#include <windows.h>
#include <winspool.h>

#include <new>
#include <vector>

namespace tolvane {

std::uint32_t MachineHasPort(const std::wstring& name, PortNameCase comparison, bool& exists) {
    exists = false;
    std::vector<BYTE> buffer;
    DWORD size = 4096, needed = 0, returned = 0;
    // A port added between the two calls makes the second one short again:
    // one more try with the new size, then give up.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            buffer.assign(size, 0);
        } catch (const std::bad_alloc&) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        if (EnumPortsW(nullptr, 1, buffer.data(), size, &needed, &returned)) {
            const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
            for (DWORD i = 0; i < returned && !exists; ++i) {
                if (ports[i].pName == nullptr) continue;
                exists = comparison == PortNameCase::kExact ? name == ports[i].pName
                                                            : lstrcmpiW(ports[i].pName, name.c_str()) == 0;
            }
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER) return error;
        size = needed + sizeof(PORT_INFO_1W);
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

}  // namespace tolvane
