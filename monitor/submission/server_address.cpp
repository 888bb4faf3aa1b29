#include "monitor/submission/server_address.h"

namespace tolvane {

FaxServerAddress ParseFaxServerAddress(std::string_view server, std::uint16_t defaultPort) {
    FaxServerAddress address{std::string(server), defaultPort};
    const std::size_t colon = server.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return address;
    const std::string_view digits = server.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return address;
    unsigned long port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return address;
        port = port * 10 + static_cast<unsigned long>(c - '0');
    }
    if (port == 0 || port > 65535) return address;
    address.host = std::string(server.substr(0, colon));
    address.port = static_cast<std::uint16_t>(port);
    return address;
}

}  // namespace tolvane
