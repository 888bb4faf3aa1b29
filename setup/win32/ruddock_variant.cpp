// Ruddock.exe, the current build, with the port dialogs.
#include "setup/win32/build_variant.h"

#include "common/port_settings/win32/port_config_dialog.h"
#include "common/port_settings/win32/spooler_port_actions.h"
#include "setup/win32/advapi_key_store.h"

namespace tolvane {
namespace {

void OpenPortDialogs(HWND owner, const LanguageIni& language, std::u16string_view programName) {
    AdvapiKeyStore registry;
    MachinePortActions actions(registry);
    PortDialogContext context{
        actions, [&language](std::u16string_view key) { return language.Read(key); }, std::u16string(programName), {}};
    RunPortConfigDialog(owner, context);
}

}  // namespace

const SetupVariant& BuildVariant() { return kRuddock; }

PortDialogsOpener BuildPortDialogs() { return OpenPortDialogs; }

}  // namespace tolvane
