#include "monitor/ports/port_name.h"

#include "common/port_values.h"

namespace tolvane {

std::u16string TextFromInput(std::span<const std::uint8_t> input, std::size_t maxChars) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < input.size() && text.size() < maxChars; i += 2) {
        const char16_t unit = static_cast<char16_t>(input[i] | (input[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

std::u16string CutPortName(std::u16string_view name) { return std::u16string(name.substr(0, kPortNameMaxChars)); }

std::u16string PortKeyPath(std::u16string_view name) {
    std::u16string path(kMonitorPortsKey);
    path += u'\\';
    path += name;
    return path;
}

}  // namespace tolvane
