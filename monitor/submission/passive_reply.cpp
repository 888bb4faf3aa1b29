#include "monitor/submission/passive_reply.h"

#include <array>

namespace tolvane {

std::optional<PassiveAddress> ParsePassiveReply(std::string_view reply) {
    const std::size_t open = reply.find('(');
    if (open == std::string_view::npos) return std::nullopt;

    std::array<int, 6> numbers{};
    std::size_t pos = open + 1;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        while (pos < reply.size() && reply[pos] == ' ') ++pos;
        std::size_t digits = 0;
        int value = 0;
        while (pos < reply.size() && reply[pos] >= '0' && reply[pos] <= '9') {
            value = value * 10 + (reply[pos] - '0');
            ++pos;
            if (++digits > 3 || value > 255) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        numbers[i] = value;
        while (pos < reply.size() && reply[pos] == ' ') ++pos;
        const char expected = i + 1 < numbers.size() ? ',' : ')';
        if (pos >= reply.size() || reply[pos] != expected) return std::nullopt;
        ++pos;
    }

    PassiveAddress passive;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) passive.address += '.';
        passive.address += std::to_string(numbers[i]);
    }
    passive.port = static_cast<std::uint16_t>(numbers[4] * 256 + numbers[5]);
    if (passive.port == 0) return std::nullopt;
    return passive;
}

std::string DataConnectionAddress(const PassiveAddress& passive, const std::string& server,
                                  const std::string& ignorePassiveIp) {
    return ignorePassiveIp == "1" ? server : passive.address;
}

}  // namespace tolvane
