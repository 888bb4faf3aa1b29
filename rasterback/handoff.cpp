#include "rasterback/handoff.h"

namespace rasterback {

namespace {

short handToSendProgram(const std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    const std::optional<std::string> folder = shell.readSendProgramFolder();
    if (!folder) {
        shell.showMessage({kRegistryErrorUtf8, UserMessage::Encoding::Utf8, UserMessage::Caption::SystemDefault});
        return 1;
    }
    runFollowUpProgram(outputPath, settings, shell);
    shell.shellOpen(*folder + kSendProgramName, outputPath, ShowState::Normal);
    return 0;
}

short saveWhereTheUserChooses(std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    runFollowUpProgram(outputPath, settings, shell);
    const std::string keptPath = outputPath;
    shell.ensureFolder(kSaveFolder);
    const std::optional<std::string> chosen = shell.askSavePath(outputPath, kSaveFolder);
    if (!chosen) return 0;

    if (!shell.samePath(keptPath, *chosen)) {
        // The written file goes only once its copy is in place.
        if (!shell.copyFile(keptPath, *chosen)) {
            shell.showMessage(
                {copyFailedText(keptPath, *chosen), UserMessage::Encoding::Ansi, UserMessage::Caption::Empty});
            outputPath = keptPath;
            return 0;
        }
        shell.deleteFile(keptPath);
    }
    outputPath = *chosen;
    // Show the saved fax with the program the shell associates with it.
    shell.shellOpen(*chosen, "", ShowState::Normal);
    return 0;
}

}  // namespace

std::string copyFailedText(const std::string& keptPath, const std::string& chosenPath) {
    return "The fax could not be saved as " + chosenPath + ".\r\nIt has been kept at " + keptPath + ".";
}

bool runFollowUpProgram(const std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    const FollowUpProgram program = readFollowUpProgram(settings);
    if (!program.enabled) return false;
    shell.shellOpen(program.program, outputPath, program.show);
    return true;
}

short runHandoff(const std::string& printerName, std::string& outputPath, ProfileReader& settings,
                 HandoffShell& shell) {
    if (printerName == kSendPrinterName) return handToSendProgram(outputPath, settings, shell);
    return saveWhereTheUserChooses(outputPath, settings, shell);
}

}  // namespace rasterback
