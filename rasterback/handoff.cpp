#include "rasterback/handoff.h"

#include "rasterback/program_parameters.h"

namespace tolvane {

namespace {

// Starts `program` with the path as its one argument, or tells the user why
// the path cannot be handed to it.
bool StartWithPath(const std::string& program, const std::string& path, ShowState show, HandoffShell& shell) {
    const std::optional<std::string> parameter = PathParameter(path, program);
    if (!parameter) {
        shell.ShowMessage({PathNotPassedText(path, program), UserMessage::Encoding::Ansi, UserMessage::Caption::Empty});
        return false;
    }
    shell.ShellOpen(program, *parameter, show);
    return true;
}

short HandToSendProgram(const std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    const std::optional<std::string> folder = shell.ReadSendProgramFolder();
    if (!folder) {
        shell.ShowMessage({kRegistryErrorUtf8, UserMessage::Encoding::Utf8, UserMessage::Caption::SystemDefault});
        return 1;
    }
    RunFollowUpProgram(outputPath, settings, shell);
    StartWithPath(*folder + kSendProgramName, outputPath, ShowState::Normal, shell);
    return 0;
}

short SaveWhereTheUserChooses(std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    RunFollowUpProgram(outputPath, settings, shell);
    const std::string keptPath = outputPath;
    shell.EnsureFolder(kSaveFolder);
    const std::optional<std::string> chosen = shell.AskSavePath(outputPath, kSaveFolder);
    if (!chosen) return 0;

    if (!shell.SamePath(keptPath, *chosen)) {
        // The written file goes only once its copy is in place.
        if (!shell.CopyFileTo(keptPath, *chosen)) {
            shell.ShowMessage(
                {CopyFailedText(keptPath, *chosen), UserMessage::Encoding::Ansi, UserMessage::Caption::Empty});
            outputPath = keptPath;
            return 0;
        }
        shell.RemoveFile(keptPath);
    }
    outputPath = *chosen;
    // Show the saved fax with the program the shell associates with it.
    shell.ShellOpen(*chosen, "", ShowState::Normal);
    return 0;
}

}  // namespace

std::string PathNotPassedText(const std::string& path, const std::string& program) {
    return "The fax file " + path + " was not handed to " + program +
           ": a file name with a double quote, a control character, or (for a program that the command "
           "interpreter runs) a percent sign cannot be passed to it.";
}

std::string CopyFailedText(const std::string& keptPath, const std::string& chosenPath) {
    return "The fax could not be saved as " + chosenPath + ".\r\nIt has been kept at " + keptPath + ".";
}

bool RunFollowUpProgram(const std::string& outputPath, ProfileReader& settings, HandoffShell& shell) {
    const FollowUpProgram program = ReadFollowUpProgram(settings);
    if (!program.enabled) return false;
    return StartWithPath(program.program, outputPath, program.show, shell);
}

short RunHandoff(const std::string& printerName, std::string& outputPath, ProfileReader& settings,
                 HandoffShell& shell) {
    if (printerName == kSendPrinterName) return HandToSendProgram(outputPath, settings, shell);
    return SaveWhereTheUserChooses(outputPath, settings, shell);
}

}  // namespace tolvane
