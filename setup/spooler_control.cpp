#include "setup/spooler_control.h"

namespace tolvane {

bool SpoolerStateCountsAsRunning(std::uint32_t currentState) { return (currentState & 4) != 0; }

bool IsSpoolerRunning(ServiceControl& services) { return services.QuerySpooler() == ServiceControl::Query::kRunning; }

bool StartSpooler(ServiceControl& services) {
    services.StartSpoolerService();  // a refused start shows in the answer below
    services.Sleep(kSpoolerWaitMs);
    return IsSpoolerRunning(services);
}

bool StopSpooler(ServiceControl& services) {
    const ServiceControl::StopResult result = services.StopSpoolerService();
    if (result == ServiceControl::StopResult::kNoManager) return false;
    services.Sleep(kSpoolerWaitMs);
    return result == ServiceControl::StopResult::kStopped;
}

bool RestartSpooler(ServiceControl& services) {
    const bool stopped = StopSpooler(services);
    const bool started = StartSpooler(services);
    if (!started || !stopped) {
        // The two commands run as programs of their own. Launched together,
        // "net start" may find the spooler still running and give up before
        // "net stop" stops it, leaving it stopped while the answer below said
        // it ran; so each gets the service's wait before the next step.
        services.StartCommand(u"net stop spooler");
        services.Sleep(kSpoolerWaitMs);
        services.StartCommand(u"net start spooler");
        services.Sleep(kSpoolerWaitMs);
    }
    return IsSpoolerRunning(services);
}

}  // namespace tolvane
