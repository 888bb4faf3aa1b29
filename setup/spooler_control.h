#pragma once
// Control of the "Spooler" service with the tool's fixed waits: every start
// and every accepted stop is followed by 2 s, and a restart that the service
// manager cannot do falls back to "net stop spooler" and "net start spooler",
// each also followed by 2 s.

#include <cstdint>

#include "setup/setup_platform.h"

namespace tolvane {

inline constexpr int kSpoolerWaitMs = 2000;

// Whether a service's current state (SERVICE_STATUS.dwCurrentState) counts as
// running: bit 2 set, that is running (4), continue pending (5), pause pending
// (6) and paused (7). ServiceControl::QuerySpooler answers with this rule.
bool SpoolerStateCountsAsRunning(std::uint32_t currentState);

// Running, continue pending, pause pending or paused.
bool IsSpoolerRunning(ServiceControl& services);
// Starts the service (failures unreported), waits 2 s in every case, and
// answers IsSpoolerRunning.
bool StartSpooler(ServiceControl& services);
// Whether the stop control was accepted; waits 2 s unless the manager could
// not be opened.
bool StopSpooler(ServiceControl& services);
// Stop, then start; when either failed, launches "net stop spooler", waits
// 2 s, launches "net start spooler", waits 2 s (the programs themselves are
// not waited for), and answers IsSpoolerRunning.
bool RestartSpooler(ServiceControl& services);

}  // namespace tolvane
