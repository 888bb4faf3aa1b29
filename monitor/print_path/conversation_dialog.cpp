#include "monitor/print_path/conversation_dialog.h"

namespace tolvane {

ConversationDialog::ConversationDialog(ConversationPeer& peer, bool monitorConfirms,
                                       std::function<void(std::u16string_view)> showConfirmation)
    : peer_(peer), monitorConfirms_(monitorConfirms), showConfirmation_(std::move(showConfirmation)) {}

bool ConversationDialog::Ask(const FaxRequests& requests, FaxAnswers& answers) {
    SendRequests(peer_, requests);
    ReceiveAnswers(peer_, answers);
    clientWaits_ = answers.IsSend() && requests.confirmation == kConfirmationWanted;
    // A failed read of answer A leaves it empty: the client gave no answer.
    return !answers.result.empty();
}

void ConversationDialog::Confirm(std::u16string_view text) {
    if (monitorConfirms_) {
        if (showConfirmation_) showConfirmation_(text);
        return;
    }
    // A client that was not told to wait has closed its end already.
    if (clientWaits_) SendConfirmation(peer_, text);
}

}  // namespace tolvane
