// The 43016-byte record a caller hands to "SetConfig": the spooler passes it
// on from whoever opened the monitor's transceive handle. The fuzzer's bytes
// are the record; one that is taken must reach the registry whole and come
// back unchanged through "GetConfig".
#include <cstring>
#include <vector>

#include "common/port_config_record.h"
#include "monitor/ports/port_name.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/xcv_environment.h"

namespace tolvane::fuzz {
namespace {

std::vector<std::uint8_t> Terminated(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<PortConfigRecord> record = ParsePortConfigRecord(bytes);
    if (size < kPortConfigRecordSize) Require(!record, "a record shorter than 43016 bytes is refused");
    fuzz::MemoryXcvEnvironment environment;
    std::uint32_t needed = 0;
    const std::uint32_t status = RunXcvCommand(environment, {u"SetConfig", bytes, {}, kAdministerAccess}, needed);
    if (!record) {
        Require(status == win_error::kInvalidParameter, "a refused record is an invalid parameter");
        return 0;
    }
    for (std::size_t slot = 0; slot < kConfigSlotCount; ++slot) {
        Require(SlotText(*record, static_cast<ConfigSlot>(slot)).size() <= kConfigSlotMaxChars,
                "every slot of a taken record ends within its 1024 units");
    }
    // No port exists yet, so nothing may have been written.
    Require(status == win_error::kInvalidParameter, "a record for a port that does not exist is refused");

    const std::u16string port(SlotText(*record, ConfigSlot::kPortName));
    if (!IsUsablePortKeyName(port)) return 0;
    environment.store.CreateKey(PortKeyPath(port));
    Require(RunXcvCommand(environment, {u"SetConfig", bytes, {}, kAdministerAccess}, needed) == win_error::kSuccess,
            "a record for an existing port is written");
    Require(RunXcvCommand(environment, {u"SetConfig", bytes, {}, 0}, needed) == win_error::kAccessDenied,
            "only an administrator may write one");

    const std::vector<std::uint8_t> name = fuzz::Terminated(port);
    std::vector<std::uint8_t> output(kPortConfigRecordSize);
    Require(RunXcvCommand(environment, {u"GetConfig", name, output, 0}, needed) == win_error::kSuccess,
            "any user reads the port's record");
    PortConfigRecord shown;
    std::memcpy(&shown, output.data(), sizeof shown);
    Require(SlotText(shown, ConfigSlot::kPassword).empty(), "but not its password");
    Require(RunXcvCommand(environment, {u"GetConfig", name, output, kAdministerAccess}, needed) == win_error::kSuccess,
            "the port's record is read back");
    PortConfigRecord back;
    std::memcpy(&back, output.data(), sizeof back);
    // The port name slot is the name the command was given: the same text cut
    // to the 1023 units a command takes.
    Require(SlotText(back, ConfigSlot::kPortName) == port.substr(0, kCommandPortNameMaxChars),
            "the record names its port");
    for (ConfigSlot slot : ConfigValueSlots()) {
        Require(SlotText(back, slot) == SlotText(*record, slot), "every value comes back as it was written");
    }
    return 0;
}
