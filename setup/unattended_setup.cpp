#include "setup/unattended_setup.h"

#include <algorithm>

#include "common/letter_case.h"
#include "setup/postscript_fax_installer.h"
#include "setup/printer_steps.h"
#include "setup/raster_fax_installer.h"

namespace tolvane {
namespace {

// Writes the settings into the port; whether every one was written. An empty
// value removes the setting, which counts as done when it was not there.
bool WriteSettings(const UnattendedCommand& command, std::u16string_view port, SetupLog& log,
                   PortSettingsStore& settings) {
    const std::vector<std::u16string> ports = settings.EnumeratePorts();
    const auto found = std::find_if(ports.begin(), ports.end(),
                                    [&](const std::u16string& name) { return EqualsIgnoringCase(name, port); });
    bool all = true;
    for (const auto& [name, value] : command.settings) {
        bool written = false;
        if (found != ports.end()) {
            std::u16string old;
            written = settings.WritePortValue(*found, name, value) ||
                      (value.empty() && !settings.ReadPortValue(*found, name, old));
        }
        log.Write(u"Set Tolvane Port " + name + (written ? u" Success!" : u" Failed!"),
                  written ? kLogSuccess : kLogFailure);
        all = all && written;
    }
    return all;
}

}  // namespace

int RunUnattended(const UnattendedCommand& command, SetupMachine& machine, const SetupVariant& variant,
                  PortSettingsStore& settings) {
    if (command.action == UnattendedAction::kNone) return kExitUsage;
    const bool install = command.action == UnattendedAction::kInstall;
    const std::u16string printer = command.printer == PrinterKind::kTolvane ? u"Tolvane" : u"Quillon";
    const std::u16string operation = printer + (install ? u" Install" : u" UnInstall");

    PostScriptFaxInstaller postScript(machine);
    RasterFaxInstaller raster(machine, variant.olderRasterFilesOn32Bit);
    const SetupOutcome outcome = RunLoggedOperation(machine.log, operation, [&] {
        if (command.printer == PrinterKind::kTolvane) return install ? postScript.Install() : postScript.Uninstall();
        return install ? raster.Install() : raster.Uninstall();
    });
    if (outcome != SetupOutcome::kSuccess) return kExitFailure;

    if (!install || command.settings.empty()) return kExitSuccess;
    return WriteSettings(command, postScript.PortName(), machine.log, settings) ? kExitSuccess : kExitFailure;
}

}  // namespace tolvane
