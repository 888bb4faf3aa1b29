// Every transceive command takes its input bytes from the caller of XcvData,
// through the spooler, and writes its output into the caller's buffer. The
// input is a run of commands on one machine; each is a byte choosing the
// command (and whether the caller may administer), a byte choosing the size of
// the output buffer, a two-byte little-endian length and that many input bytes,
// taken raw (so odd lengths and missing terminators occur).
#include <array>
#include <vector>

#include "common/port_config_record.h"
#include "common/port_values.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/xcv_environment.h"

namespace tolvane::fuzz {
namespace {

constexpr std::array<std::u16string_view, 7> kCommands = {u"AddPort",   u"DeletePort", u"MonitorUI", u"PortExists",
                                                          u"GetConfig", u"SetConfig",  u"Unknown"};

std::size_t OutputBytes(std::uint8_t selector, std::size_t uiPathBytes) {
    switch (selector % 6) {
    case 0:
        return 0;
    case 1:
        return selector / 6;  // a small buffer, odd sizes too
    case 2:
        return uiPathBytes - 1;
    case 3:
        return uiPathBytes;
    case 4:
        return kPortConfigRecordSize - 1;
    default:
        return kPortConfigRecordSize;
    }
}

// The ports this monitor has: the subkeys of its Ports key.
std::vector<std::u16string> Ports(KeyStore& store) {
    return EnumerateSubkeys(store, std::u16string(kMonitorPortsKey), kConfigSlotMaxChars);
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    fuzz::MemoryXcvEnvironment environment;
    const std::size_t uiPathBytes = (environment.MonitorUiPath().size() + 1) * 2;
    for (int step = 0; step < 16 && !input.Empty(); ++step) {
        const std::uint8_t choice = input.Byte();
        const std::u16string_view command = fuzz::kCommands[choice % fuzz::kCommands.size()];
        const std::uint32_t access = (choice & 0x80) ? kAdministerAccess : 0;
        // Exactly the caller's size, so a write past it is an overrun.
        std::vector<std::uint8_t> output(fuzz::OutputBytes(input.Byte(), uiPathBytes), 0xCC);
        const std::size_t low = input.Byte();
        const std::string_view raw = input.Take(low | (std::size_t{input.Byte()} << 8));
        const std::vector<std::uint8_t> in(raw.begin(), raw.end());
        const std::vector<std::u16string> before = fuzz::Ports(environment.store);

        std::uint32_t needed = 0xFFFFFFFF;
        const std::uint32_t status = RunXcvCommand(
            environment, {command, in, std::span<std::uint8_t>(output.data(), output.size()), access}, needed);

        const std::vector<std::u16string> after = fuzz::Ports(environment.store);
        const bool administers = access != 0;
        if (command == u"AddPort" || command == u"DeletePort" || command == u"SetConfig") {
            if (!administers) Require(status == win_error::kAccessDenied, "only an administrator changes ports");
        }
        if (status != win_error::kSuccess || command != u"AddPort")
            Require(after.size() <= before.size(), "only a successful AddPort makes a port");
        if (command == u"AddPort" && status == win_error::kSuccess) {
            Require(after.size() == before.size() + 1, "AddPort makes one port");
            const std::u16string& added = after.back();
            Require(!added.empty() && added.size() <= kPortNameMaxChars, "a port name has 1 to 7 characters");
            Require(added.find(u'\\') == std::u16string::npos, "a port is a key of its own under Ports");
            Require(environment.store.Value(PortKeyPath(added), std::u16string(value::kDescription)) ==
                        std::u16string(kPortDescription),
                    "a new port carries its description");
        }
        if (command == u"DeletePort" && status == win_error::kSuccess)
            Require(after.size() + 1 == before.size(), "DeletePort removes one port");
        if (command == u"MonitorUI") {
            Require(needed == uiPathBytes, "MonitorUI says the size it needs");
            Require((status == win_error::kSuccess) == (output.size() >= uiPathBytes), "and fails only when short");
        }
        if (command == u"GetConfig") {
            Require(needed == kPortConfigRecordSize, "GetConfig needs a whole record");
            if (output.size() < kPortConfigRecordSize)
                Require(status == win_error::kInsufficientBuffer, "a short buffer gets nothing");
        }
        if (command == u"Unknown") Require(status == win_error::kInvalidParameter, "an unknown command is refused");
    }
    return 0;
}
