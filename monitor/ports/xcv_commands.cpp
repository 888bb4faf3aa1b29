#include "monitor/ports/xcv_commands.h"

#include <cstring>

#include "common/port_config_record.h"
#include "common/port_values.h"
#include "monitor/ports/port_config_io.h"
#include "monitor/ports/port_name.h"

namespace tolvane {
namespace {

bool MayAdminister(const XcvRequest& request) { return (request.grantedAccess & kAdministerAccess) != 0; }

std::uint32_t AddPort(XcvEnvironment& environment, const XcvRequest& request) {
    if (!MayAdminister(request)) return win_error::kAccessDenied;
    const std::u16string requested = TextFromInput(request.input, kCommandPortNameMaxChars);
    const std::u16string name = CutPortName(requested);
    if (!IsUsablePortKeyName(name)) return win_error::kInvalidParameter;
    // The port is created under the cut name, so that name must be free as well:
    // otherwise a long name would quietly take over an existing port's key.
    for (const std::u16string& candidate : {requested, name}) {
        bool exists = false;
        if (environment.PortExistsOnMachine(candidate, exists) != win_error::kSuccess || exists)
            return win_error::kInvalidParameter;
    }

    KeyStore& store = environment.MonitorKey();
    const std::u16string ports(kMonitorPortsKey);
    if (store.OpenKey(ports, KeyAccess::kAll) != win_error::kSuccess &&
        (store.CreateKey(ports) != win_error::kSuccess || store.OpenKey(ports, KeyAccess::kAll) != win_error::kSuccess))
        return win_error::kInvalidParameter;
    const std::u16string path = PortKeyPath(name);
    if (store.CreateKey(path) != win_error::kSuccess) return win_error::kInvalidParameter;
    // Closed before the first value goes in; the password comes later.
    if (store.RestrictToAdministrators(path) != win_error::kSuccess ||
        store.SetStringValue(path, std::u16string(value::kDescription), std::u16string(kPortDescription)) !=
            win_error::kSuccess) {
        store.DeleteKey(path);
        return win_error::kInvalidParameter;
    }
    return win_error::kSuccess;
}

std::uint32_t DeletePort(XcvEnvironment& environment, const XcvRequest& request) {
    if (!MayAdminister(request)) return win_error::kAccessDenied;
    const std::u16string name = TextFromInput(request.input, kDeletePortNameMaxChars);
    if (!IsUsablePortKeyName(name)) return win_error::kInvalidParameter;
    KeyStore& store = environment.MonitorKey();
    if (store.OpenKey(std::u16string(kMonitorPortsKey), KeyAccess::kAll) != win_error::kSuccess ||
        store.DeleteKey(PortKeyPath(name)) != win_error::kSuccess)
        return win_error::kInvalidParameter;
    return win_error::kSuccess;
}

std::uint32_t MonitorUi(XcvEnvironment& environment, const XcvRequest& request, std::uint32_t& needed) {
    const std::u16string path = environment.MonitorUiPath();
    const std::size_t bytes = (path.size() + 1) * sizeof(char16_t);
    needed = static_cast<std::uint32_t>(bytes);
    if (request.output.size() < bytes) return win_error::kInsufficientBuffer;
    std::memcpy(request.output.data(), path.c_str(), bytes);
    return win_error::kSuccess;
}

std::uint32_t PortExists(XcvEnvironment& environment, const XcvRequest& request) {
    bool exists = false;
    const std::uint32_t error =
        environment.PortExistsOnMachine(TextFromInput(request.input, kCommandPortNameMaxChars), exists);
    if (error != win_error::kSuccess) return error;
    return exists ? win_error::kPrinterAlreadyExists : win_error::kSuccess;
}

std::uint32_t GetConfig(XcvEnvironment& environment, const XcvRequest& request, std::uint32_t& needed) {
    needed = kPortConfigRecordSize;
    if (request.output.size() < kPortConfigRecordSize) return win_error::kInsufficientBuffer;
    PortConfigRecord record;
    const bool read =
        ReadPortConfig(environment.MonitorKey(), TextFromInput(request.input, kCommandPortNameMaxChars), record);
    // Any user may look at a port's settings (the printer's Configure Port
    // does); the fax server's password only those who may change it.
    if (!MayAdminister(request)) SetSlotText(record, ConfigSlot::kPassword, u"");
    std::memcpy(request.output.data(), &record, sizeof record);
    return read ? win_error::kSuccess : win_error::kInvalidParameter;
}

std::uint32_t SetConfig(XcvEnvironment& environment, const XcvRequest& request) {
    if (!MayAdminister(request)) return win_error::kAccessDenied;
    const std::optional<PortConfigRecord> record = ParsePortConfigRecord(request.input);
    if (!record) return win_error::kInvalidParameter;
    return WritePortConfig(environment.MonitorKey(), *record) ? win_error::kSuccess : win_error::kInvalidParameter;
}

}  // namespace

std::uint32_t RunXcvCommand(XcvEnvironment& environment, const XcvRequest& request, std::uint32_t& needed) {
    const std::u16string_view command = request.command;
    if (command == u"AddPort") return AddPort(environment, request);
    if (command == u"DeletePort") return DeletePort(environment, request);
    if (command == u"MonitorUI") return MonitorUi(environment, request, needed);
    if (command == u"PortExists") return PortExists(environment, request);
    if (command == u"GetConfig") return GetConfig(environment, request, needed);
    if (command == u"SetConfig") return SetConfig(environment, request);
    return win_error::kInvalidParameter;
}

}  // namespace tolvane
