#pragma once
// The answer to the spooler's port enumeration: records of the PORT_INFO_1W or
// PORT_INFO_2W layout at the start of the caller's buffer, their strings packed
// downward from its end, with the size needed for all of them computed first.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/key_store.h"

namespace tolvane {

inline constexpr std::size_t kEnumPortNameMaxChars = 127;
inline constexpr std::size_t kEnumDescriptionMaxChars = 127;
inline constexpr std::uint32_t kPortTypeWrite = 1;

// Mirrors of the spooler's records, pointers and all; the Windows shell checks
// that they match PORT_INFO_1W and PORT_INFO_2W.
struct PortInfo1 {
    char16_t* name;
};
struct PortInfo2 {
    char16_t* portName;
    char16_t* monitorName;
    char16_t* description;
    std::uint32_t portType;
    std::uint32_t reserved;
};

struct PortListing {
    std::u16string name;
    std::u16string description;
};

// The ports under "Ports" with their Description values (empty when a port's key
// cannot be opened or the value is missing or too long).
std::vector<PortListing> ListPorts(KeyStore& monitorKey);

struct EnumPortsResult {
    std::uint32_t error = 0;  // 0, kInvalidLevel or kInsufficientBuffer
    std::uint32_t needed = 0;
    std::uint32_t returned = 0;
};

// Packs the listings at `level` (1 or 2) into `buffer`, which may be empty.
EnumPortsResult PackPortInfo(std::uint32_t level, const std::vector<PortListing>& ports,
                             std::span<std::uint8_t> buffer);

}  // namespace tolvane
