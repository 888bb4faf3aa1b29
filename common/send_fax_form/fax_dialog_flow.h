#pragma once
// The client's run: read the nine requests, show the send-fax form filled with
// them, write the answers, and show the confirmation when one was asked for.
// The form itself is a port (SendFaxFormPort): the Win32 dialog in the product
// (common/send_fax_form/win32/send_fax_form.h), a scripted fake in tests.

#include <string>

#include "common/pipe_conversation.h"
#include "common/send_fax_form/fax_request.h"

namespace tolvane {

// What the form shows when it closes, as its controls hold it.
struct FormFields {
    std::u16string faxNumbers;
    std::u16string addressBookText;  // the text of the address-book box
    int lineIndex = -1;              // -1: no item selected
    std::u16string sender;
    int resolutionIndex = -1;
    int priorityIndex = -1;
    std::u16string notifyEmail;
};

class SendFaxFormPort {
public:
    virtual ~SendFaxFormPort() = default;
    // Builds the form filled with the requests (the address book loads here)
    // and returns the text of its address-book box before the user sees it.
    virtual std::u16string Prepare(const FormRequest& request) = 0;
    // Shows the form modally; true when it closed with Send.
    virtual bool ShowModal() = 0;
    virtual FormFields Fields() = 0;
    // The "Job Confirm" box with the host's text; returns once it is closed.
    virtual void ShowJobConfirm(const std::u16string& text) = 0;
};

// Answer C: the address-book box's text, or "." when it still shows what it
// showed before the form opened.
std::u16string RecipientNameAnswer(const std::u16string& boxText, const std::u16string& boxTextAtStart);

// The answers for a closed form: "2" alone after Cancel; after Send, "1" and
// answers B to H from the fields.
FaxAnswers BuildAnswers(bool sent, const FormFields& fields, const std::u16string& boxTextAtStart);

// Shows the form for a set of requests and returns its answers. Korrim.exe
// runs it between reading the requests and writing the answers; the 32-bit
// monitor runs it in its own process when it shows the form itself.
FaxAnswers RunSendFaxForm(SendFaxFormPort& form, const FaxRequests& requests);

// The whole client conversation over an open channel. A request that cannot be
// read ends the run after its failure message: the host is gone or broken, and
// a form nobody will read is not shown. Answer writes are each attempted and
// each failure is shown.
void RunFaxDialog(ConversationPeer& peer, SendFaxFormPort& form);

}  // namespace tolvane
