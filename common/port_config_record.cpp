#include "common/port_config_record.h"

#include <algorithm>
#include <cstring>

#include "common/port_values.h"

namespace tolvane {
namespace {

constexpr std::array<ConfigSlot, kConfigSlotCount - 1> kValueSlots = {
    ConfigSlot::kDescription,      ConfigSlot::kServer,          ConfigSlot::kUsername,        ConfigSlot::kPassword,
    ConfigSlot::kDefaultEmail,     ConfigSlot::kModem,           ConfigSlot::kAddressBookPath, ConfigSlot::kPageSize,
    ConfigSlot::kNotificationType, ConfigSlot::kIgnorePassiveIp, ConfigSlot::kAddressBookType, ConfigSlot::kResolution,
    ConfigSlot::kSender,           ConfigSlot::kMaxDials,        ConfigSlot::kMaxTries,        ConfigSlot::kPriority,
    ConfigSlot::kValidity,         ConfigSlot::kConfirm,         ConfigSlot::kAdvertising,     ConfigSlot::kSysMode,
};

struct SlotDefault {
    ConfigSlot slot;
    std::u16string_view text;
};

// The monitor's defaults; Password, DefaultEmail, NotificationType and
// IgnorePassiveIP default to empty text.
constexpr SlotDefault kMonitorDefaults[] = {
    {ConfigSlot::kDescription, kPortDescription},
    {ConfigSlot::kServer, kDefaultServer},
    {ConfigSlot::kUsername, u"fax"},
    {ConfigSlot::kAddressBookPath, u"c:\\tiff"},
    {ConfigSlot::kAddressBookType, u"0"},
    {ConfigSlot::kSender, u"fax"},
    {ConfigSlot::kModem, u"0"},
    {ConfigSlot::kMaxDials, u"2"},
    {ConfigSlot::kMaxTries, u"1"},
    {ConfigSlot::kPriority, u"1"},
    {ConfigSlot::kValidity, u"0"},
    {ConfigSlot::kResolution, u"1"},
    {ConfigSlot::kPageSize, u"1"},
    {ConfigSlot::kConfirm, u"1"},
    {ConfigSlot::kAdvertising, u"FAX"},
    {ConfigSlot::kSysMode, u"0"},
};

std::size_t Index(ConfigSlot slot) { return static_cast<std::size_t>(slot); }

}  // namespace

std::u16string_view ConfigSlotValueName(ConfigSlot slot) {
    switch (slot) {
    case ConfigSlot::kDescription:
        return value::kDescription;
    case ConfigSlot::kServer:
        return value::kServer;
    case ConfigSlot::kUsername:
        return value::kUsername;
    case ConfigSlot::kPassword:
        return value::kPassword;
    case ConfigSlot::kDefaultEmail:
        return value::kDefaultEmail;
    case ConfigSlot::kModem:
        return value::kModem;
    case ConfigSlot::kAddressBookPath:
        return value::kAddressBookPath;
    case ConfigSlot::kPageSize:
        return value::kPageSize;
    case ConfigSlot::kNotificationType:
        return value::kNotificationType;
    case ConfigSlot::kIgnorePassiveIp:
        return value::kIgnorePassiveIp;
    case ConfigSlot::kAddressBookType:
        return value::kAddressBookType;
    case ConfigSlot::kResolution:
        return value::kResolution;
    case ConfigSlot::kSender:
        return value::kSender;
    case ConfigSlot::kMaxDials:
        return value::kMaxDials;
    case ConfigSlot::kMaxTries:
        return value::kMaxTries;
    case ConfigSlot::kPriority:
        return value::kPriority;
    case ConfigSlot::kValidity:
        return value::kValidity;
    case ConfigSlot::kConfirm:
        return value::kConfirm;
    case ConfigSlot::kAdvertising:
        return value::kAdvertising;
    case ConfigSlot::kSysMode:
        return value::kSysMode;
    case ConfigSlot::kPortName:
    case ConfigSlot::kCount:
        break;
    }
    return {};
}

std::span<const ConfigSlot> ConfigValueSlots() { return kValueSlots; }

std::u16string_view SlotText(const PortConfigRecord& record, ConfigSlot slot) {
    const char16_t* units = record.slots[Index(slot)];
    return {units, std::find(units, units + kConfigSlotUnits, u'\0')};
}

void SetSlotText(PortConfigRecord& record, ConfigSlot slot, std::u16string_view text) {
    char16_t* units = record.slots[Index(slot)];
    const std::size_t length = std::min(text.size(), kConfigSlotMaxChars);
    std::fill(units, units + kConfigSlotUnits, u'\0');
    std::copy_n(text.data(), length, units);
}

PortConfigRecord MakeDefaultPortConfig() {
    PortConfigRecord record;
    std::memset(&record, 0, sizeof record);
    record.size = kPortConfigRecordSize;
    for (const SlotDefault& entry : kMonitorDefaults) SetSlotText(record, entry.slot, entry.text);
    return record;
}

std::optional<PortConfigRecord> ParsePortConfigRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kPortConfigRecordSize) return std::nullopt;
    PortConfigRecord record;
    std::memcpy(&record, bytes.data(), sizeof record);
    if (record.size != kPortConfigRecordSize || record.reserved != 0) return std::nullopt;
    for (const auto& slot : record.slots) {
        if (std::find(slot, slot + kConfigSlotUnits, u'\0') == slot + kConfigSlotUnits) return std::nullopt;
    }
    return record;
}

}  // namespace tolvane
