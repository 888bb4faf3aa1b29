// The setup tool's program (Ruddock.exe and Ruddset.exe): without arguments
// the main dialog, with arguments the unattended command line. The setup log
// is made before the dialog and closed after it.

#include "setup/win32/windows_api.h"
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win32/wide_text.h"
#include "setup/command_line.h"
#include "setup/win32/build_variant.h"
#include "setup/win32/setup_log_sinks.h"
#include "setup/win32/setup_main_dialog.h"
#include "setup/win32/unattended_run.h"

namespace tolvane {
namespace {

std::vector<std::u16string> Arguments() {
    std::vector<std::u16string> arguments;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (list == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(ToU16(list[i]));
    LocalFree(list);
    return arguments;
}

int RunDialog(HINSTANCE instance, const SetupVariant& variant) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    std::unique_ptr<SetupLog> log;
    if (variant.writesSetupLog)
        log = std::make_unique<FileSetupLog>(kSetupLogFileName);
    else
        log = std::make_unique<DiscardingSetupLog>();
    SetupMainDialog dialog(instance, variant, *log, BuildPortDialogs());
    dialog.Run();
    return kExitSuccess;
}

}  // namespace
}  // namespace tolvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        const tolvane::SetupVariant& variant = tolvane::BuildVariant();
        const std::vector<std::u16string> arguments = tolvane::Arguments();
        if (arguments.empty()) return tolvane::RunDialog(instance, variant);
        return tolvane::RunCommandLine(variant, arguments);
    } catch (...) {
        return tolvane::kExitFailure;
    }
}
