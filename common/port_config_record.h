#pragma once
// PortConfigRecord: one port's settings as a fixed block of 43016 bytes. The
// monitor fills it from the registry, and it crosses the "GetConfig" and
// "SetConfig" transceive commands unchanged, so its layout is a contract with
// every caller: little-endian, two 32-bit header fields, then 21 text slots of
// 1024 UTF-16 units each (at most 1023 characters plus the terminating null).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::uint32_t kPortConfigRecordSize = 43016;  // 0xA808
inline constexpr std::size_t kConfigSlotUnits = 1024;
inline constexpr std::size_t kConfigSlotMaxChars = kConfigSlotUnits - 1;

// Slot order of the record; the port name comes first, then the 20 values.
enum class ConfigSlot : std::size_t {
    kPortName,
    kDescription,
    kServer,
    kUsername,
    kPassword,
    kDefaultEmail,
    kModem,
    kAddressBookPath,
    kPageSize,
    kNotificationType,
    kIgnorePassiveIp,
    kAddressBookType,
    kResolution,
    kSender,
    kMaxDials,
    kMaxTries,
    kPriority,
    kValidity,
    kConfirm,
    kAdvertising,
    kSysMode,
    kCount
};
inline constexpr std::size_t kConfigSlotCount = static_cast<std::size_t>(ConfigSlot::kCount);

struct PortConfigRecord {
    std::uint32_t size;
    std::uint32_t reserved;
    char16_t slots[kConfigSlotCount][kConfigSlotUnits];
};
static_assert(sizeof(PortConfigRecord) == kPortConfigRecordSize);
static_assert(offsetof(PortConfigRecord, slots) == 8);

// The registry value behind each slot (the port-name slot has none).
std::u16string_view ConfigSlotValueName(ConfigSlot slot);

// The slots that hold registry values, in the order they are read and written.
std::span<const ConfigSlot> ConfigValueSlots();

// The text of a slot, up to its terminating null (or its last unit).
std::u16string_view SlotText(const PortConfigRecord& record, ConfigSlot slot);

// Puts text into a slot, cut to 1023 characters and null-terminated.
void SetSlotText(PortConfigRecord& record, ConfigSlot slot, std::u16string_view text);

// A record zeroed, sized, with the monitor's own defaults in its value slots.
PortConfigRecord MakeDefaultPortConfig();

// A record from the bytes a caller handed in, checked: answers nothing when the
// input is shorter than a record, its size field is not 43016, its reserved
// field is not 0, or a text slot lacks its terminating null.
std::optional<PortConfigRecord> ParsePortConfigRecord(std::span<const std::uint8_t> bytes);

}  // namespace tolvane
