#pragma once
// The recipient dialogs of a fax port: Korrim.exe in the console session over
// the pipe (the conversation's host side), and, in the 32-bit build, the
// send-fax form inside the monitor's own process.

#include <windows.h>

#include <memory>
#include <mutex>

#include "common/win32/pipe.h"
#include "monitor/print_path/conversation_dialog.h"
#include "monitor/print_path/dialog_route.h"
#include "monitor/print_path/end_of_document.h"

namespace tolvane {

// The host side of one conversation with Korrim.exe. The pipe has a single
// instance, so conversations of documents ending at the same time take turns
// instead of failing. Every wait is limited: for the turn, for Korrim.exe to
// connect, and for the user, to the form's countdown and a margin; and the
// pipe's failures go to the trace, as a box shown in the spooler would sit on
// a desktop nobody sees. A turn ends, and the pipe is closed, as soon as
// Korrim.exe reads nothing more: right after the answers unless it waits for
// the confirmation, else when the object goes. So the next document's user is
// not kept waiting for this document's submission or the monitor's own
// confirmation box.
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

    std::unique_lock<std::timed_mutex> turn_;
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
