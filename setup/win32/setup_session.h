#pragma once
// One run of the setup tool, with a window or without: the machine it works
// on (spooler, service, files, log, progress), what it detected at start, the
// two printer installers, and the steps around them that the window's Install
// and Uninstall buttons and the unattended command line share: the entries
// that frame an operation, the copy of the tool into its install folder with
// the Start-menu shortcut, and their removal once no printer is left.

#include <memory>
#include <string>

#include "setup/command_line.h"
#include "setup/os_kind.h"
#include "setup/postscript_fax_installer.h"
#include "setup/raster_fax_installer.h"
#include "setup/setup_platform.h"
#include "setup/setup_variant.h"
#include "setup/win32/win32_file_system.h"
#include "setup/win32/win32_service_control.h"
#include "setup/win32/win32_spooler.h"

namespace tolvane {

class SetupSession {
public:
    // `quiet`: the programs the spooler control starts get no window.
    SetupSession(const SetupVariant& variant, SetupLog& log, ProgressSink& progress, bool quiet);
    // Removes the private folder of extracted files.
    ~SetupSession();
    SetupSession(const SetupSession&) = delete;
    SetupSession& operator=(const SetupSession&) = delete;

    const SetupVariant& Variant() const { return variant_; }
    SetupMachine& Machine() { return machine_; }
    SetupLog& Log() { return machine_.log; }
    PostScriptFaxInstaller& PostScript() { return postScript_; }
    RasterFaxInstaller& Raster() { return raster_; }

    int OsKindValue() const { return osKind_; }
    int Bitness() const { return machine_.bitness; }
    bool IsAdmin() const { return isAdmin_; }
    // The display name and bitness, as the main dialog shows it and the log records it.
    std::u16string OsLine() const;

    const std::u16string& ProgramFolder() const { return machine_.programFolder; }
    std::u16string LanguageFile() const;
    std::u16string InstallFolder();
    std::u16string SettingsFile();

    // The tool's copy in its install folder and the Start-menu shortcut to it,
    // made before a printer is installed. Failures are not reported.
    void PlaceTool();
    // After a removal: when neither printer is left, the shortcut and its
    // Start-menu folder go, and (Ruddock) the install folder with Setting.ini.
    void RemoveToolUnlessPrinterLeft();

    // The installer's run between the entries "<Printer> Install Starting..."
    // and "<Printer> Install Success!" or "... Failed!" (likewise "UnInstall").
    SetupOutcome Install(PrinterKind kind);
    SetupOutcome Uninstall(PrinterKind kind);

    bool PrinterExists(PrinterKind kind);

private:
    std::u16string MenuFolder();

    const SetupVariant& variant_;
    Win32Spooler spooler_;
    Win32ServiceControl services_;
    Win32FileSystem files_;
    SetupMachine machine_;
    int osKind_;
    bool isAdmin_;
    PostScriptFaxInstaller postScript_;
    RasterFaxInstaller raster_;
    std::u16string ownWorkFolder_;  // the folder to remove at the end; empty when none was made
};

// "Tolvane" or "Quillon", as the log entries name the printer.
std::u16string_view PrinterWord(PrinterKind kind);

}  // namespace tolvane
