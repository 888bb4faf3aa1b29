// The port's Server value comes from the registry, where anyone with the port
// settings dialog (or a registry editor) puts what they like.
#include <string>

#include "monitor/submission/server_address.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    // The caller's default is the protocol's port; any other non-zero one will do.
    const int high = input.Byte();
    const auto picked = static_cast<std::uint16_t>(high * 256 + input.Byte());
    const std::uint16_t defaultPort = picked == 0 ? 4559 : picked;
    const std::string_view server = input.Rest();

    const FaxServerAddress address = ParseFaxServerAddress(server, defaultPort);

    Require(address.port != 0, "the server port is never 0");
    if (address.host == server) {
        Require(address.port == defaultPort, "a value taken whole uses the default port");
        return 0;
    }
    // Taken apart: the host, a colon, and the port's digits (leading zeros allowed).
    Require(server.substr(0, address.host.size()) == address.host && server.size() > address.host.size() + 1 &&
                server[address.host.size()] == ':',
            "a split value is the host and a colon");
    const std::string_view digits = server.substr(address.host.size() + 1);
    Require(digits.find(':') == std::string_view::npos, "the port follows the last colon");
    Require(!address.host.empty(), "the host is never empty");
    unsigned long port = 0;
    for (char c : digits) {
        Require(c >= '0' && c <= '9', "the port is decimal digits");
        port = port * 10 + static_cast<unsigned long>(c - '0');
    }
    Require(port == address.port, "the port is the number after the colon");
    return 0;
}
