#include "monitor/ports/port_enumeration.h"

#include <cstring>

#include "common/port_values.h"
#include "monitor/ports/port_name.h"

namespace tolvane {
namespace {

std::size_t StringBytes(std::u16string_view text) { return (text.size() + 1) * sizeof(char16_t); }

// Hands out string space from the end of the buffer downward.
class StringPacker {
public:
    explicit StringPacker(std::span<std::uint8_t> buffer)
        : base_(buffer.data()), end_(buffer.size() & ~std::size_t{1}) {}

    char16_t* Put(std::u16string_view text) {
        end_ -= StringBytes(text);
        std::uint8_t* at = base_ + end_;
        std::memcpy(at, text.data(), text.size() * sizeof(char16_t));
        std::memset(at + text.size() * sizeof(char16_t), 0, sizeof(char16_t));
        return reinterpret_cast<char16_t*>(at);
    }

private:
    std::uint8_t* base_;
    std::size_t end_;
};

}  // namespace

std::vector<PortListing> ListPorts(KeyStore& monitorKey) {
    std::vector<PortListing> ports;
    for (std::u16string& name : EnumerateSubkeys(monitorKey, std::u16string(kMonitorPortsKey), kEnumPortNameMaxChars)) {
        PortListing listing{std::move(name), {}};
        const std::u16string path = PortKeyPath(listing.name);
        // A port whose key or Description cannot be read is listed with an empty one.
        if (monitorKey.OpenKey(path, KeyAccess::kRead) == win_error::kSuccess)
            ReadStringValue(monitorKey, path, std::u16string(value::kDescription), kEnumDescriptionMaxChars,
                            listing.description);
        ports.push_back(std::move(listing));
    }
    return ports;
}

EnumPortsResult PackPortInfo(std::uint32_t level, const std::vector<PortListing>& ports,
                             std::span<std::uint8_t> buffer) {
    EnumPortsResult result;
    if (level != 1 && level != 2) {
        result.error = win_error::kInvalidLevel;
        return result;
    }
    std::size_t needed = 0;
    for (const PortListing& port : ports) {
        needed += level == 1 ? sizeof(PortInfo1) + StringBytes(port.name)
                             : sizeof(PortInfo2) + StringBytes(port.name) + StringBytes(kMonitorName) +
                                   StringBytes(port.description);
    }
    result.needed = static_cast<std::uint32_t>(needed);
    if (buffer.data() == nullptr || buffer.size() < needed) {
        result.error = win_error::kInsufficientBuffer;
        return result;
    }

    StringPacker strings(buffer);
    std::uint8_t* record = buffer.data();
    for (const PortListing& port : ports) {
        if (level == 1) {
            const PortInfo1 info{strings.Put(port.name)};
            std::memcpy(record, &info, sizeof info);
            record += sizeof info;
        } else {
            PortInfo2 info{};
            info.portName = strings.Put(port.name);
            info.monitorName = strings.Put(kMonitorName);
            info.description = strings.Put(port.description);
            info.portType = kPortTypeWrite;
            std::memcpy(record, &info, sizeof info);
            record += sizeof info;
        }
    }
    result.returned = static_cast<std::uint32_t>(ports.size());
    return result;
}

}  // namespace tolvane
