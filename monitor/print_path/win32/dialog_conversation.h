#pragma once
// The recipient dialogs of a fax port: Korrim.exe in the console session over
// the pipe (the conversation's host side), and, in the 32-bit build, the
// send-fax form inside the monitor's own process.

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "common/win32/pipe.h"
#include "monitor/print_path/conversation_dialog.h"
#include "monitor/print_path/dialog_route.h"
#include "monitor/print_path/end_of_document.h"

namespace tolvane {

// The host side of one conversation with Korrim.exe. Each document's
// conversation has a pipe of its own (common/conversation_pipe_name.h) that
// only the local system and the printing user may open, so documents ending
// at the same time, of one user or of many, are asked at the same time and
// each answer reaches its own document. An older Korrim.exe, which knows only
// the fixed pipe, gets that one, and its conversations take turns instead of
// failing; such a turn ends, and the pipe is closed, as soon as Korrim.exe
// reads nothing more (right after the answers unless it waits for the
// confirmation, else when the object goes), so the next document's user is not
// kept waiting for this document's submission. Every wait is limited: for the
// turn, for Korrim.exe to connect, and for the user, to the form's countdown
// and a margin; and the pipe's failures go to the trace, as a box shown in the
// spooler would sit on a desktop nobody sees.
class DialogProgramConversation final : public RecipientDialog {
public:
    // monitorConfirms: the monitor shows the confirmation in its own message
    // box rather than sending it to Korrim.exe.
    explicit DialogProgramConversation(bool monitorConfirms);
    ~DialogProgramConversation() override;

    bool Ask(const FaxRequests& requests, FaxAnswers& answers) override;
    void Confirm(std::u16string_view text) override;
    // Ends this conversation and starts Korrim.exe once more, with the notice
    // argument, to show the text (see kNoticeArgument); in its own turn.
    bool Notify(std::u16string_view text) override;

private:
    void EndConversation();
    // The launch of Korrim.exe for this conversation's pipe, the notice's
    // argument added when asked; nothing when it cannot be started.
    std::optional<ClientLaunch> Launch(bool notice) const;

    std::optional<ClientLaunch> launch_;
    bool ownPipe_;                             // Korrim.exe takes a pipe of this document's own
    std::wstring pipeName_;                    // this document's, or the fixed one
    std::unique_lock<std::timed_mutex> turn_;  // the fixed pipe's only
    bool turnMissed_ = false;
    Pipe pipe_;
    ConversationDialog conversation_;
};

// The form in this process, on the calling thread (32-bit build only).
std::unique_ptr<RecipientDialog> MakeInProcessFormDialog();

// The dialog the route asks for.
std::unique_ptr<RecipientDialog> MakeRecipientDialog(DialogRoute route);

// A box the monitor shows itself in the spooler's process (the 32-bit build's
// in-process form and its "Job Confirm"): the text, the caption, OK. It
// closes by itself when nobody answers it within ten minutes. False when it
// could not be shown (no desktop).
bool ShowMonitorMessage(std::u16string_view text, std::u16string_view caption);
void ShowJobConfirmMessage(std::u16string_view text);

}  // namespace tolvane
