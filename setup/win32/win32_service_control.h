#pragma once
// The "Spooler" service through the service control manager, and the programs
// the tool starts ("net stop spooler", "rundll32 printui.dll,...").

#include "setup/setup_platform.h"

namespace tolvane {

class Win32ServiceControl final : public ServiceControl {
public:
    // `hiddenCommands`: started programs get no window (the unattended
    // "/quiet" run promises none); otherwise they are shown normally.
    explicit Win32ServiceControl(bool hiddenCommands = false) : hiddenCommands_(hiddenCommands) {}

    Query QuerySpooler() override;
    bool StartSpoolerService() override;
    StopResult StopSpoolerService() override;
    void StartCommand(std::u16string_view commandLine) override;
    void Sleep(int milliseconds) override;

private:
    bool hiddenCommands_;
};

}  // namespace tolvane
