#include "monitor/ports/port_config_io.h"

#include "common/port_values.h"
#include "monitor/ports/port_name.h"

namespace tolvane {

bool ReadPortConfig(KeyStore& monitorKey, std::u16string_view port, PortConfigRecord& record) {
    record = MakeDefaultPortConfig();
    SetSlotText(record, ConfigSlot::kPortName, port);
    if (!IsUsablePortKeyName(port)) return false;
    const std::u16string path = PortKeyPath(port);
    if (monitorKey.OpenKey(path, KeyAccess::kRead) != win_error::kSuccess) return false;
    for (ConfigSlot slot : ConfigValueSlots()) {
        std::u16string text;
        if (ReadStringValue(monitorKey, path, std::u16string(ConfigSlotValueName(slot)), kConfigSlotMaxChars, text))
            SetSlotText(record, slot, text);
    }
    return true;
}

std::u16string ReadUploadCompressionValue(KeyStore& monitorKey, std::u16string_view port) {
    std::u16string text;
    if (!IsUsablePortKeyName(port)) return text;
    constexpr std::size_t kLongestWord = 16;
    if (!ReadStringValue(monitorKey, PortKeyPath(port), std::u16string(value::kUploadCompression), kLongestWord, text))
        text.clear();
    return text;
}

bool WritePortConfig(KeyStore& monitorKey, const PortConfigRecord& record) {
    const std::u16string_view port = SlotText(record, ConfigSlot::kPortName);
    if (!IsUsablePortKeyName(port)) return false;
    const std::u16string path = PortKeyPath(port);
    if (monitorKey.OpenKey(path, KeyAccess::kWrite) != win_error::kSuccess) return false;
    bool allWritten = true;
    for (ConfigSlot slot : ConfigValueSlots()) {
        const std::u16string name(ConfigSlotValueName(slot));
        allWritten &=
            monitorKey.SetStringValue(path, name, std::u16string(SlotText(record, slot))) == win_error::kSuccess;
    }
    return allWritten;
}

unsigned RestrictEveryPortKey(KeyStore& monitorKey) {
    unsigned refused = 0;
    constexpr std::size_t kAnyPortName = 1023;
    for (const std::u16string& port : EnumerateSubkeys(monitorKey, std::u16string(kMonitorPortsKey), kAnyPortName)) {
        if (monitorKey.RestrictToAdministrators(PortKeyPath(port)) != win_error::kSuccess) ++refused;
    }
    return refused;
}

}  // namespace tolvane
