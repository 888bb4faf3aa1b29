#pragma once
// The transceive ("Xcv") commands through which the setup tool and the spooler
// add, remove, test and configure the monitor's ports.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/key_store.h"

namespace tolvane {

// What the commands need from the machine around them.
class XcvEnvironment {
public:
    virtual ~XcvEnvironment() = default;

    // The monitor's own registry key.
    virtual KeyStore& MonitorKey() = 0;

    // Whether any monitor on the machine has a port of exactly this name (case
    // matters). Answers 0, or the error that kept the ports from being listed.
    virtual std::uint32_t PortExistsOnMachine(const std::u16string& name, bool& exists) = 0;

    // Full path of the monitor user-interface library.
    virtual std::u16string MonitorUiPath() = 0;
};

// Bit 0 of the access granted at XcvOpenPort: SERVER_ACCESS_ADMINISTER.
inline constexpr std::uint32_t kAdministerAccess = 0x1;

// Most characters of a port name "DeletePort" uses.
inline constexpr std::size_t kDeletePortNameMaxChars = 255;
// Most characters of a port name the other commands take in.
inline constexpr std::size_t kCommandPortNameMaxChars = 1023;

struct XcvRequest {
    std::u16string_view command;
    std::span<const std::uint8_t> input;
    std::span<std::uint8_t> output;  // empty when the caller gave no buffer
    std::uint32_t grantedAccess = 0;
};

// Runs one command; answers its status code and sets `needed` for commands with
// output. Nothing is written past `output`.
std::uint32_t RunXcvCommand(XcvEnvironment& environment, const XcvRequest& request, std::uint32_t& needed);

}  // namespace tolvane
