// The transceive object: XcvOpenPort builds a handle, XcvDataPort runs one
// command of monitor/xcv_commands.h against the machine, XcvClosePort frees it.

#include <cstring>
#include <new>
#include <span>

#include "monitor/win32/monitor.h"
#include "monitor/ports/xcv_commands.h"

namespace tolvane {
namespace {

inline constexpr std::uint32_t kXcvPortHandleSize = 2072;  // 0x818
inline constexpr std::size_t kXcvObjectNameMaxChars = 1022;

// Zero-filled; the size field marks a live handle.
struct XcvPortHandle {
    std::uint32_t size;
    std::uint32_t grantedAccess;
    Monitor* monitor;
    wchar_t objectName[1024];
    std::uint8_t padding[kXcvPortHandleSize - 8 - sizeof(Monitor*) - 2048];
};
static_assert(sizeof(XcvPortHandle) == kXcvPortHandleSize);

XcvPortHandle* AsXcvHandle(HANDLE handle) {
    auto* xcv = static_cast<XcvPortHandle*>(handle);
    return xcv != nullptr && xcv->size == kXcvPortHandleSize ? xcv : nullptr;
}

// Lists every port of the machine through the spooler, as a port's uniqueness is
// machine-wide, not this monitor's alone.
class MachineXcvEnvironment final : public XcvEnvironment {
public:
    explicit MachineXcvEnvironment(Monitor& monitor) : monitor_(monitor) {}

    KeyStore& MonitorKey() override { return monitor_.registry; }

    std::uint32_t PortExistsOnMachine(const std::u16string& name, bool& exists) override {
        exists = false;
        DWORD needed = 0, returned = 0;
        std::vector<BYTE> buffer;
        DWORD size = 4096;
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                buffer.assign(size, 0);
            } catch (const std::bad_alloc&) {
                return ERROR_NOT_ENOUGH_MEMORY;
            }
            if (EnumPortsW(nullptr, 2, buffer.data(), size, &needed, &returned)) {
                const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
                for (DWORD i = 0; i < returned; ++i) {
                    if (ports[i].pPortName != nullptr && ToU16(ports[i].pPortName) == name) {
                        exists = true;
                        break;
                    }
                }
                return ERROR_SUCCESS;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_INSUFFICIENT_BUFFER) return error;
            size = needed + 4;
        }
        return ERROR_INSUFFICIENT_BUFFER;
    }

    // The monitor user interface is installed in the 32-bit system folder of a
    // 64-bit system: "<Windows>\SysWOW64\Tolvane\Caskelui.dll".
    std::u16string MonitorUiPath() override {
        wchar_t windows[MAX_PATH] = L"";
        const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
        std::wstring path =
            length > 0 && length < MAX_PATH ? std::wstring(windows, length) : std::wstring(L"C:\\WINDOWS");
        if (path.back() != L'\\') path += L'\\';
        path += L"SysWOW64\\Tolvane\\Caskelui.dll";
        return ToU16(path.c_str());
    }

private:
    Monitor& monitor_;
};

}  // namespace

BOOL WINAPI TolvaneXcvOpenPort(HANDLE monitor, LPCWSTR object, ACCESS_MASK granted, PHANDLE xcv) {
    if (monitor == nullptr || xcv == nullptr) return FailWith(ERROR_INVALID_PARAMETER);
    auto* handle = new (std::nothrow) XcvPortHandle{};
    if (handle == nullptr) return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    handle->size = kXcvPortHandleSize;
    handle->grantedAccess = granted;
    handle->monitor = static_cast<Monitor*>(monitor);
    if (object != nullptr) lstrcpynW(handle->objectName, object, kXcvObjectNameMaxChars + 1);
    *xcv = handle;
    return TRUE;
}

DWORD WINAPI TolvaneXcvDataPort(HANDLE xcv, LPCWSTR command, PBYTE input, DWORD inputSize, PBYTE output,
                                DWORD outputSize, PDWORD needed) {
    XcvPortHandle* handle = AsXcvHandle(xcv);
    if (handle == nullptr || command == nullptr) return ERROR_INVALID_PARAMETER;
    MachineXcvEnvironment environment(*handle->monitor);
    XcvRequest request;
    request.command = reinterpret_cast<const char16_t*>(command);
    request.input = std::span<const std::uint8_t>(input, input != nullptr ? inputSize : 0);
    request.output = std::span<std::uint8_t>(output, output != nullptr ? outputSize : 0);
    request.grantedAccess = handle->grantedAccess;
    std::uint32_t outputNeeded = 0;
    const std::uint32_t status = RunXcvCommand(environment, request, outputNeeded);
    if (needed != nullptr) *needed = outputNeeded;
    return status;
}

BOOL WINAPI TolvaneXcvClosePort(HANDLE xcv) {
    XcvPortHandle* handle = AsXcvHandle(xcv);
    if (handle == nullptr) return FailWith(ERROR_INVALID_HANDLE);
    handle->size = 0;
    delete handle;
    return TRUE;
}

}  // namespace tolvane
