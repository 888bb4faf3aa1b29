// The answer to PASV names where the data connection goes: the fuzzer's bytes
// are that reply line as the server sent it.
#include <string>

#include "monitor/submission/passive_reply.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

// The four numbers of a dotted address, each 0 to 255 without leading zeros.
bool IsDottedAddress(const std::string& address) {
    int parts = 0;
    std::size_t pos = 0;
    while (pos <= address.size()) {
        std::size_t end = address.find('.', pos);
        if (end == std::string::npos) end = address.size();
        const std::string part = address.substr(pos, end - pos);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos) return false;
        if ((part.size() > 1 && part[0] == '0') || std::stoi(part) > 255) return false;
        ++parts;
        pos = end + 1;
    }
    return parts == 4;
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    const std::optional<PassiveAddress> passive = ParsePassiveReply(reply);
    if (!passive) return 0;

    Require(fuzz::IsDottedAddress(passive->address), "the data address is four numbers of 0 to 255");
    Require(passive->port != 0, "the data port is never 0");
    // The same address and port written back in the server's form read the same.
    std::string again = "227 Entering passive mode (" + passive->address + "," + std::to_string(passive->port / 256) +
                        "," + std::to_string(passive->port % 256) + ")";
    for (char& c : again)
        if (c == '.') c = ',';
    const std::optional<PassiveAddress> reread = ParsePassiveReply(again);
    Require(reread && reread->address == passive->address && reread->port == passive->port,
            "an address read from a reply reads the same once written back");
    Require(DataConnectionAddress(*passive, "10.0.0.5", "1") == "10.0.0.5", "IgnorePassiveIP 1 keeps the server");
    Require(DataConnectionAddress(*passive, "10.0.0.5", "0") == passive->address, "else the reply's address");
    return 0;
}
