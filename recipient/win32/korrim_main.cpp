// Korrim.exe: the recipient dialog program. Started by the port monitor on the
// console desktop, it connects to the monitor's pipe (the one "/pipe" names,
// else the fixed one), shows the send-fax form
// with the nine requested values and sends the user's answers back. Started
// with "/notice", it reads one text instead and shows it: the monitor telling
// the user that a fax did not leave. With no pipe to connect to it ends at
// once, silently. It always exits with code 0.

#include <windows.h>

#include <commctrl.h>

#include "common/conversation_pipe_name.h"
#include "common/win32/pipe.h"
#include "common/send_fax_form/fax_dialog_flow.h"
#include "recipient/language_module.h"
#include "common/win32/ansi_text.h"
#include "common/win32/wide_text.h"
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

bool AskedForNotice(const wchar_t* commandLine) {
    const std::u16string argument(kNoticeArgument);
    const std::wstring line(commandLine != nullptr ? commandLine : L"");
    const std::wstring wanted(AsWide(argument));
    const std::size_t at = line.rfind(wanted);
    return at != std::wstring::npos && at + wanted.size() == line.size() && (at == 0 || line[at - 1] == L' ');
}

// The pipe the monitor named on the command line for this document, or the
// fixed one of a monitor that names none.
std::wstring ConversationPipe(const wchar_t* commandLine) {
    const std::optional<std::u16string> named =
        PipeNameOnCommandLine(ToU16(commandLine != nullptr ? commandLine : L""));
    const std::u16string name = named ? *named : std::u16string(kConversationPipePath);
    return std::wstring(name.begin(), name.end());
}

// The pipe is closed before the box shows, so the monitor goes on at once.
void ShowNotice(const std::wstring& pipeName) {
    Pipe pipe(/*isHost=*/false, pipeName);
    if (!pipe.Open()) return;
    std::u16string text;
    const bool read = pipe.Read(text);
    pipe.Close();
    if (!read || text.empty()) return;
    const std::u16string caption(kNoticeCaption);
    MessageBoxW(nullptr, AsWide(text), AsWide(caption), MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
}

void Run(HINSTANCE program) {
    const std::wstring pipeName = ConversationPipe(GetCommandLineW());
    if (AskedForNotice(GetCommandLineW())) {
        ShowNotice(pipeName);
        return;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE resources = DialogResources(program);

    Pipe pipe(/*isHost=*/false, pipeName);
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
