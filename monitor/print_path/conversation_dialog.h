#pragma once
// The recipient dialog as the host side of the pipe conversation: the nine
// requests out, the answers back, and the confirmation only when the client
// was told to wait for one. The channel comes open from the caller (the named
// pipe to Korrim.exe in the monitor; an in-process pair in tests).

#include <functional>

#include "common/pipe_conversation.h"
#include "monitor/print_path/end_of_document.h"

namespace tolvane {

class ConversationDialog : public RecipientDialog {
public:
    // With monitorConfirms the confirmation goes to showConfirmation instead
    // of the client, which the requests then tell not to wait.
    ConversationDialog(ConversationPeer& peer, bool monitorConfirms,
                       std::function<void(std::u16string_view)> showConfirmation = {});

    bool Ask(const FaxRequests& requests, FaxAnswers& answers) override;
    void Confirm(std::u16string_view text) override;
    // A notice needs a conversation of its own (see NoticeConversation): this
    // one has ended by the time one is due.
    bool Notify(std::u16string_view) override { return false; }
    // After Ask: whether the client still reads a confirmation. When it does
    // not, it has closed its end and the conversation is over.
    bool ClientWaitsForConfirmation() const { return clientWaits_; }

private:
    ConversationPeer& peer_;
    bool monitorConfirms_;
    std::function<void(std::u16string_view)> showConfirmation_;
    bool clientWaits_ = false;
};

}  // namespace tolvane
