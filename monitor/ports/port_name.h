#pragma once
// Port names as the monitor takes them in from the spooler and its callers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/port_values.h"

namespace tolvane {

// UTF-16LE text from a caller's byte buffer: up to the first null, the end of the
// buffer, or `maxChars` characters, whichever comes first. Never reads past the
// buffer, whatever its size or alignment.
std::u16string TextFromInput(std::span<const std::uint8_t> input, std::size_t maxChars);

// The name cut to the monitor's 7 characters.
std::u16string CutPortName(std::u16string_view name);

// "Ports\<name>", the port's key below the monitor's root.
std::u16string PortKeyPath(std::u16string_view name);

}  // namespace tolvane
