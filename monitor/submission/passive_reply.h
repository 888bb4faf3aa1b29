#pragma once
// The server's answer to PASV names the address and port where it waits for
// the data connection: "227 Entering passive mode (127,0,0,1,189,65)".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

struct PassiveAddress {
    std::string address;  // dotted IPv4 text, e.g. "10.0.0.5"
    std::uint16_t port = 0;
};

// The six numbers after the first "(": four address bytes, then the port's high
// and low byte, ended by ")". Empty when the reply does not carry six numbers
// of 0 to 255 in that form.
std::optional<PassiveAddress> ParsePassiveReply(std::string_view reply);

// Where the data connection goes: the server's own address when IgnorePassiveIP
// is "1" (servers behind address translation name an address the client cannot
// reach), else the address the reply named.
std::string DataConnectionAddress(const PassiveAddress& passive, const std::string& server,
                                  const std::string& ignorePassiveIp);

}  // namespace tolvane
