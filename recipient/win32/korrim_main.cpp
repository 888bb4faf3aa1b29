// Korrim.exe: the recipient dialog program. Started by the port monitor on the
// console desktop, it connects to the monitor's pipe, shows the send-fax form
// with the nine requested values and sends the user's answers back. With no
// pipe to connect to it ends at once, silently. It always exits with code 0.

#include <windows.h>

#include <commctrl.h>

#include "common/win32/pipe.h"
#include "common/send_fax_form/fax_dialog_flow.h"
#include "recipient/language_module.h"
#include "common/win32/ansi_text.h"
#include "common/send_fax_form/win32/send_fax_form.h"
#include "common/send_fax_form/win32/send_fax_form_ids.h"

namespace tolvane {
namespace {

// A resource-only module for the system's language ("Korrim.ENU", then
// "Korrim.EN") replaces the program's own dialog layouts when it has them.
HINSTANCE DialogResources(HINSTANCE program) {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(program, path, MAX_PATH);
    wchar_t language[16] = {};
    if (length == 0 || length >= MAX_PATH ||
        !GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME, language, 16)) {
        return program;
    }
    for (const std::u16string& candidate : LanguageModuleCandidates(ToU16(path), ToU16(language))) {
        HMODULE module = LoadLibraryExW(ToWide(candidate).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module) continue;
        if (FindResourceW(module, MAKEINTRESOURCEW(IDD_FAXSEND), MAKEINTRESOURCEW(5) /* RT_DIALOG */) &&
            FindResourceW(module, MAKEINTRESOURCEW(IDD_RECIPIENTNAME), MAKEINTRESOURCEW(5))) {
            return module;  // kept loaded for the rest of the run
        }
        FreeLibrary(module);
    }
    return program;
}

void Run(HINSTANCE program) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE resources = DialogResources(program);

    Pipe pipe(/*isHost=*/false);
    if (!pipe.Open()) return;  // no host: no window, no message
    {
        Win32SendFaxForm form(resources);
        RunFaxDialog(pipe.Peer(), form);
    }  // the form is destroyed before the pipe closes
    pipe.Close();
}

}  // namespace
}  // namespace tolvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        tolvane::Run(instance);
    } catch (...) {
        // Nothing may escape; the exit code stays 0.
    }
    return 0;
}
