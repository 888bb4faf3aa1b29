#include "setup/printer_steps.h"

#include <string>

#include "setup/spooler_control.h"

namespace tolvane {
namespace {

// "Add Tolvane Port Failed!": the verb, the printer's word, the rest.
std::u16string Entry(std::u16string_view verb, const PrinterObjects& objects, std::u16string_view rest) {
    return std::u16string(verb) + u" " + std::u16string(objects.word) + u" " + std::u16string(rest);
}

}  // namespace

SetupOutcome RunLoggedOperation(SetupLog& log, std::u16string_view operation,
                                const std::function<SetupOutcome()>& run) {
    const std::u16string name(operation);
    log.Write(name + u" Starting...", kLogSuccess);
    const SetupOutcome outcome = run();
    if (outcome == SetupOutcome::kSuccess)
        log.Write(name + u" Success!", kLogSuccess);
    else
        log.Write(name + u" Failed!", kLogFailure);
    return outcome;
}

SetupOutcome AddPortAndPrinter(SetupMachine& machine, const PrinterObjects& objects) {
    if (!objects.changePort(false)) {
        machine.log.Write(Entry(u"Add", objects, u"Port Failed!"), kLogFailure);
        return SetupOutcome::kFailure;
    }
    machine.log.Write(Entry(u"Add", objects, u"Port Success!"), kLogSuccess);
    machine.progress.SetProgress(90);

    if (objects.printerExists()) {
        machine.progress.SetProgress(100);
        return SetupOutcome::kSuccess;
    }
    if (!objects.addPrinter()) {
        machine.progress.SetProgress(100);
        machine.log.Write(Entry(u"Add", objects, u"Printer Failed!"), kLogFailure);
        return SetupOutcome::kFailure;
    }
    machine.log.Write(Entry(u"Add", objects, u"Printer Success!"), kLogSuccess);
    machine.progress.SetProgress(100);
    return SetupOutcome::kSuccess;
}

std::optional<SetupOutcome> RemovePrinterAndPort(SetupMachine& machine, const PrinterObjects& objects) {
    machine.progress.SetProgress(0);
    if (!IsSpoolerRunning(machine.services)) {
        machine.progress.SetProgress(10);
        if (!StartSpooler(machine.services)) {
            machine.progress.SetProgress(100);
            machine.log.Write(u"Start Print Service failed!", kLogFailure);
            return SetupOutcome::kFailure;
        }
    }
    machine.spooler.CancelAllJobs(objects.printerName);
    machine.progress.SetProgress(20);

    if (objects.printerExists()) {
        machine.progress.SetProgress(40);
        if (!objects.removePrinter()) {
            machine.progress.SetProgress(100);
            machine.log.Write(Entry(u"Delete", objects, u"Printer Failed!"), kLogFailure);
            return SetupOutcome::kFailure;
        }
        machine.log.Write(Entry(u"Delete", objects, u"Printer Success!"), kLogSuccess);
    }

    if (objects.changePort(true)) {
        machine.log.Write(Entry(u"Delete", objects, u"Port Success!"), kLogSuccess);
    } else {
        machine.log.Write(Entry(u"Delete", objects, u"Port Failed!"), kLogFailure);
    }
    machine.progress.SetProgress(60);
    return std::nullopt;
}

}  // namespace tolvane
