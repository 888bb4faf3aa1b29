#include "common/send_fax_form/fax_dialog_flow.h"

#include "common/text.h"

namespace tolvane {

std::u16string RecipientNameAnswer(const std::u16string& boxText, const std::u16string& boxTextAtStart) {
    return boxText == boxTextAtStart ? std::u16string(u".") : boxText;
}

FaxAnswers BuildAnswers(bool sent, const FormFields& fields, const std::u16string& boxTextAtStart) {
    FaxAnswers answers;
    if (!sent) {
        answers.result = std::u16string(kResultCancel);
        return answers;
    }
    answers.result = std::u16string(kResultSend);
    answers.faxNumbers = fields.faxNumbers;
    answers.recipientName = RecipientNameAnswer(fields.addressBookText, boxTextAtStart);
    answers.line = FormatDecimal(fields.lineIndex);
    answers.sender = fields.sender;
    answers.resolution = FormatDecimal(fields.resolutionIndex);
    answers.priority = FormatDecimal(fields.priorityIndex);
    answers.notifyEmail = fields.notifyEmail;
    return answers;
}

FaxAnswers RunSendFaxForm(SendFaxFormPort& form, const FaxRequests& requests) {
    const std::u16string boxTextAtStart = form.Prepare(ReadFormRequest(requests));
    const bool sent = form.ShowModal();
    return BuildAnswers(sent, form.Fields(), boxTextAtStart);
}

void RunFaxDialog(ConversationPeer& peer, SendFaxFormPort& form) {
    FaxRequests requests;
    for (std::u16string* request : requests.InOrder()) {
        if (!peer.Read(*request)) return;
    }
    const FaxAnswers answers = RunSendFaxForm(form, requests);
    SendAnswers(peer, answers);
    if (answers.IsSend() && requests.confirmation == kConfirmationWanted) {
        std::u16string confirmation;
        if (peer.Read(confirmation)) form.ShowJobConfirm(confirmation);
    }
}

}  // namespace tolvane
