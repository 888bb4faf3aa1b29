#include "monitor/print_path/win32/dialog_conversation.h"

#include "monitor/print_path/win32/dialog_launch.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"

namespace tolvane {

namespace {

std::mutex& ConversationTurn() {
    static std::mutex turn;
    return turn;
}

}  // namespace

void ShowJobConfirmMessage(std::u16string_view text) {
    const std::u16string copy(text);
    const std::u16string caption(kJobConfirmCaption);
    MessageBoxW(nullptr, AsWide(copy), AsWide(caption), MB_OK | MB_SETFOREGROUND);
}

DialogProgramConversation::DialogProgramConversation(bool monitorConfirms)
    : turn_(ConversationTurn()),
      pipe_(/*isHost=*/true),
      conversation_(pipe_.Peer(), monitorConfirms, ShowJobConfirmMessage) {}

DialogProgramConversation::~DialogProgramConversation() { EndConversation(); }

void DialogProgramConversation::EndConversation() {
    pipe_.Close();
    if (turn_.owns_lock()) turn_.unlock();
}

bool DialogProgramConversation::Ask(const FaxRequests& requests, FaxAnswers& answers) {
    const std::optional<ClientLaunch> launch = DialogProgramLaunch();
    if (!launch) {
        TraceStep(L"the system folder of Korrim.exe cannot be read (error %lu)", GetLastError());
        return false;
    }
    TraceStep(L"starting %ls", launch->applicationPath.c_str());
    {
        LaunchIdentity identity;
        pipe_.SetClientLaunch(*launch);
        bool open = pipe_.Open();
        if (!open && pipe_.LastError() == ERROR_NOT_ALL_ASSIGNED) {
            // The process does not hold the privilege to assign a primary
            // token (a spooler outside the system account, as under Wine);
            // the system then decides on its own whether the launch may go on.
            ClientLaunch plain = *launch;
            plain.enableAssignPrimaryTokenPrivilege = false;
            pipe_.SetClientLaunch(plain);
            open = pipe_.Open();
        }
        if (!open) {
            TraceStep(L"the dialog program did not connect (error %lu)", pipe_.LastError());
            return false;
        }
    }
    const bool answered = conversation_.Ask(requests, answers);
    TraceStep(L"dialog answered \"%ls\"", AsWide(answers.result));
    if (!conversation_.ClientWaitsForConfirmation()) EndConversation();
    return answered;
}

void DialogProgramConversation::Confirm(std::u16string_view text) { conversation_.Confirm(text); }

std::unique_ptr<RecipientDialog> MakeRecipientDialog(DialogRoute route) {
    switch (route) {
    case DialogRoute::kInProcessForm:
        return MakeInProcessFormDialog();
    case DialogRoute::kDialogProgramMonitorConfirms:
        return std::make_unique<DialogProgramConversation>(true);
    case DialogRoute::kDialogProgram:
        break;
    }
    return std::make_unique<DialogProgramConversation>(false);
}

}  // namespace tolvane
