#pragma once
// The port's Server value: the fax server's dotted IPv4 address, optionally
// followed by ":" and a TCP port for a server that does not listen on the
// protocol's usual 4559 (a test server, or one behind port forwarding).

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

struct FaxServerAddress {
    std::string host;
    std::uint16_t port = 0;
};

// "10.0.0.5" gives 10.0.0.5 and defaultPort; "10.0.0.5:4600" gives port 4600.
// A suffix that is no port number from 1 to 65535 is not taken apart: the
// whole value stays the host, so the connection fails and says so.
FaxServerAddress ParseFaxServerAddress(std::string_view server, std::uint16_t defaultPort);

}  // namespace tolvane
