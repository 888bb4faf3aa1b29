#include "setup/win32/setup_session.h"

#include "setup/file_toolkit.h"
#include "setup/printer_steps.h"
#include "setup/win32/install_paths.h"
#include "setup/win32/shell_integration.h"
#include "setup/win32/system_facts.h"

namespace tolvane {
namespace {

std::u16string Entry(PrinterKind kind, std::u16string_view words) {
    return std::u16string(PrinterWord(kind)) + std::u16string(words);
}

}  // namespace

std::u16string_view PrinterWord(PrinterKind kind) { return kind == PrinterKind::kQuillon ? u"Quillon" : u"Tolvane"; }

SetupSession::SetupSession(const SetupVariant& variant, SetupLog& log, ProgressSink& progress, bool quiet)
    : variant_(variant),
      services_(quiet),
      machine_{spooler_, services_, files_, log, progress, DetectBitness(), tolvane::ProgramFolder(), {}},
      osKind_(static_cast<int>(ClassifyOs(QueryOsVersion()))),
      isAdmin_(IsUserAdmin()),
      postScript_(machine_),
      raster_(machine_, variant.olderRasterFilesOn32Bit) {
    ownWorkFolder_ = CreateWorkFolder();
    // Without a temporary folder the files are extracted beside the program,
    // as the tool always did.
    machine_.workFolder = ownWorkFolder_.empty() ? machine_.programFolder : ownWorkFolder_;
}

SetupSession::~SetupSession() {
    if (!ownWorkFolder_.empty()) DeleteTree(files_, ownWorkFolder_);
}

std::u16string SetupSession::OsLine() const { return tolvane::OsLine(osKind_, machine_.bitness); }

std::u16string SetupSession::LanguageFile() const { return JoinPath(machine_.programFolder, kLanguageFileName); }

std::u16string SetupSession::InstallFolder() { return tolvane::InstallFolder(files_.WindowsDirectory()); }

std::u16string SetupSession::SettingsFile() { return tolvane::SettingsFile(files_.WindowsDirectory()); }

std::u16string SetupSession::MenuFolder() {
    const std::u16string programs = CommonProgramsFolder();
    if (programs.empty()) return {};
    const std::u16string folder = JoinPath(programs, kMenuFolderName);
    files_.CreateFolder(folder);
    return folder;
}

void SetupSession::PlaceTool() {
    const std::u16string installFolder = InstallFolder();
    files_.CreateFolder(installFolder);
    CopyTree(files_, machine_.programFolder, installFolder);
    const std::u16string menuFolder = MenuFolder();
    if (menuFolder.empty()) return;
    CreateShortcut(JoinPath(installFolder, variant_.programFile), installFolder + u"\\",
                   JoinPath(menuFolder, variant_.shortcutFile));
}

void SetupSession::RemoveToolUnlessPrinterLeft() {
    if (postScript_.PrinterExists() || raster_.RasterPrinterExists()) return;
    const std::u16string menuFolder = MenuFolder();
    if (!menuFolder.empty()) {
        files_.DeleteFile(JoinPath(menuFolder, variant_.shortcutFile));
        files_.RemoveFolder(menuFolder);  // only when nothing else is in it
    }
    if (!variant_.removesProgramFolder) return;
    const std::u16string installFolder = InstallFolder();
    files_.CreateFolder(installFolder);
    DeleteTree(files_, installFolder);
}

SetupOutcome SetupSession::Install(PrinterKind kind) {
    return RunLoggedOperation(machine_.log, Entry(kind, u" Install"), [&] {
        return kind == PrinterKind::kTolvane ? postScript_.Install() : raster_.Install();
    });
}

SetupOutcome SetupSession::Uninstall(PrinterKind kind) {
    return RunLoggedOperation(machine_.log, Entry(kind, u" UnInstall"), [&] {
        return kind == PrinterKind::kTolvane ? postScript_.Uninstall() : raster_.Uninstall();
    });
}

bool SetupSession::PrinterExists(PrinterKind kind) {
    return kind == PrinterKind::kTolvane ? postScript_.PrinterExists() : raster_.RasterPrinterExists();
}

}  // namespace tolvane
