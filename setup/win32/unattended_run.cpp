#include "setup/win32/unattended_run.h"

#include "setup/win32/windows_api.h"

#include <memory>

#include "common/port_settings/port_settings_store.h"
#include "common/win32/wide_text.h"
#include "setup/command_line.h"
#include "common/language/language_ini.h"
#include "common/letter_case.h"
#include "setup/unattended_setup.h"
#include "setup/win32/advapi_key_store.h"
#include "setup/win32/setup_log_sinks.h"
#include "setup/win32/setup_session.h"
#include "setup/win32/shell_integration.h"
#include "setup/win32/win32_file_system.h"
#include "setup/win32/win32_spooler.h"

namespace tolvane {
namespace {

constexpr std::size_t kLanguageFileMaxBytes = 4 * 1024 * 1024;

class NoProgress final : public ProgressSink {
public:
    void SetProgress(int) override {}
};

// Passes every entry on and keeps the texts of the failed steps, for the box
// that tells what went wrong.
class WatchedLog final : public SetupLog {
public:
    explicit WatchedLog(SetupLog& sink) : sink_(sink) {}
    bool Write(std::u16string_view text, int status) override {
        if (status == kLogFailure) failures_.emplace_back(text);
        return sink_.Write(text, status);
    }
    const std::vector<std::u16string>& Failures() const { return failures_; }

private:
    SetupLog& sink_;
    std::vector<std::u16string> failures_;
};

// "/quiet" is honoured even on a line that is refused otherwise.
bool AsksForQuiet(const std::vector<std::u16string>& arguments) {
    for (const std::u16string& argument : arguments)
        if (EqualsIgnoringCase(argument, u"/quiet") || EqualsIgnoringCase(argument, u"-quiet")) return true;
    return false;
}

void Show(const SetupVariant& variant, const std::u16string& text, UINT icon) {
    const std::wstring caption = ToWide(variant.programName);
    MessageBoxW(nullptr, AsWide(text), caption.c_str(), MB_OK | icon | MB_SETFOREGROUND);
}

// The window's text for the outcome, in the language the window would start
// in, or the log's own words when Language.ini lacks it.
std::u16string OutcomeText(const SetupVariant& variant, SetupSession& session, std::u16string_view key,
                           std::u16string_view fallback) {
    std::string bytes;
    const std::u16string path = session.LanguageFile();
    if (!ReadFileBytes(path, kLanguageFileMaxBytes, bytes)) bytes.clear();
    LanguageIni texts;
    texts.SetFile(path, bytes);
    texts.SetSection(variant.remembersLanguage ? ReadDefaultLanguage(session.SettingsFile()) : u"EN");
    const std::u16string text = texts.Read(key);
    return text == kNoValue ? std::u16string(fallback) : text;
}

int Perform(const SetupVariant& variant, const UnattendedCommand& command, SetupLog& sink) {
    WatchedLog log(sink);
    NoProgress progress;
    SetupSession session(variant, log, progress, command.quiet);
    log.Write(u"Program Start Running...", kLogSuccess);
    log.Write(session.OsLine(), kLogSuccess);

    const bool install = command.action == UnattendedAction::kInstall;
    const std::u16string prefix = command.printer == PrinterKind::kQuillon ? u"QLN" : u"TVN";
    const std::u16string operation =
        std::u16string(PrinterWord(command.printer)) + (install ? u" Install" : u" UnInstall");
    int exitCode = kExitFailure;
    std::u16string message;
    if (!session.IsAdmin()) {
        log.Write(u"User is not Administrator!", kLogFailure);
        message = OutcomeText(variant, session, u"ID_MSG_ADMIN",
                              u"Only an administrator can install or remove a fax printer.");
    } else {
        if (install) session.PlaceTool();
        AdvapiKeyStore registry;
        PortSettingsStore settings(registry);
        exitCode = RunUnattended(command, session.Machine(), variant, settings);
        if (!install) session.RemoveToolUnlessPrinterLeft();
        const std::u16string keySuffix = install ? u"_MSG_INSTALL_" : u"_MSG_UNINSTALL_";
        message = exitCode == kExitSuccess
                      ? OutcomeText(variant, session, prefix + keySuffix + u"SUCCESS", operation + u" Success!")
                      : OutcomeText(variant, session, prefix + keySuffix + u"FAIL", operation + u" Failed!");
    }
    log.Write(u"End Program!", kLogSuccess);
    if (command.quiet) return exitCode;
    if (exitCode != kExitSuccess && !log.Failures().empty()) {
        message += u"\r\n";
        for (const std::u16string& failure : log.Failures()) message += u"\r\n" + failure;
    }
    Show(variant, message, exitCode == kExitSuccess ? MB_ICONINFORMATION : MB_ICONERROR);
    return exitCode;
}

}  // namespace

int RunCommandLine(const SetupVariant& variant, const std::vector<std::u16string>& arguments) {
    const CommandLineResult parsed = ParseCommandLine(arguments);
    if (!parsed.ok || parsed.command.action == UnattendedAction::kNone) {
        if (!AsksForQuiet(arguments)) {
            std::u16string text = parsed.error.empty() ? std::u16string() : parsed.error + u"\r\n\r\n";
            Show(variant, text + UsageText(variant.programName), MB_ICONERROR);
        }
        return kExitUsage;
    }
    const UnattendedCommand& command = parsed.command;

    std::unique_ptr<SetupLog> log;
    if (!command.logFile.empty()) {
        auto file = std::make_unique<FileSetupLog>(command.logFile);
        if (!file->IsOpen()) {
            // A record of the run was asked for and none can be kept: nothing is done.
            if (!command.quiet)
                Show(
                    variant,
                    u"The log file " + command.logFile + u" cannot be opened:\r\n" + SystemErrorText(file->OpenError()),
                    MB_ICONERROR);
            return kExitFailure;
        }
        log = std::move(file);
    } else if (variant.writesSetupLog) {
        log = std::make_unique<FileSetupLog>(kSetupLogFileName);
    } else {
        log = std::make_unique<DiscardingSetupLog>();
    }
    return Perform(variant, command, *log);
}

}  // namespace tolvane
