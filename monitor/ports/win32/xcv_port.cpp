// The transceive object: XcvOpenPort builds a handle, XcvDataPort runs one
// command of monitor/xcv_commands.h against the machine, XcvClosePort frees it.

#include <cstring>
#include <new>
#include <span>

#include "monitor/ports/win32/machine_ports.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"
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
        return MachineHasPort(ToWide(name), PortNameCase::kExact, exists);
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
    TraceStep(L"XcvOpenPort(\"%ls\", access %#lx)", TraceText(object), static_cast<unsigned long>(granted));
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
    // Sizes only: "SetConfig" brings the port's password, "GetConfig" takes it.
    TraceStep(L"XcvDataPort(%p, \"%ls\", input of %lu bytes, output of %lu bytes)", xcv, TraceText(command),
              input != nullptr ? inputSize : 0UL, output != nullptr ? outputSize : 0UL);
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
    TraceStep(L"XcvClosePort(%p)", xcv);
    XcvPortHandle* handle = AsXcvHandle(xcv);
    if (handle == nullptr) return FailWith(ERROR_INVALID_HANDLE);
    handle->size = 0;
    delete handle;
    return TRUE;
}

}  // namespace tolvane
