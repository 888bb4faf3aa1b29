#pragma once
// Whether a name is a port of the machine: the spooler's list of every port of
// every monitor, since a port name is unique machine-wide, not per monitor.

#include <cstdint>
#include <string>

namespace tolvane {

// How a caller compares names. The transceive commands ("AddPort",
// "PortExists") compare exactly, as their callers expect; AddPortEx compares
// without case, because the spooler treats port names so.
enum class PortNameCase { kExact, kIgnoringCase };

// Sets `exists` and answers 0, or the spooler's error when it cannot list the
// ports (`exists` is then false).
std::uint32_t MachineHasPort(const std::wstring& name, PortNameCase comparison, bool& exists);

}  // namespace tolvane
