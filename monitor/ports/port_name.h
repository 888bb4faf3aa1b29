#pragma once
// Port names as the monitor takes them in from the spooler and its callers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

// A port name is cut to its first 7 characters wherever the monitor takes one in.
inline constexpr std::size_t kPortNameMaxChars = 7;

// UTF-16LE text from a caller's byte buffer: up to the first null, the end of the
// buffer, or `maxChars` characters, whichever comes first. Never reads past the
// buffer, whatever its size or alignment.
std::u16string TextFromInput(std::span<const std::uint8_t> input, std::size_t maxChars);

// The name cut to the monitor's 7 characters.
std::u16string CutPortName(std::u16string_view name);

// Whether a name can name a key of its own under "Ports": not empty and free of
// backslashes, which would address the ports key itself or a key below another
// port.
bool IsUsablePortKeyName(std::u16string_view name);

// "Ports\<name>", the port's key below the monitor's root.
std::u16string PortKeyPath(std::u16string_view name);

}  // namespace tolvane
