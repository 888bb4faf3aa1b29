#include "monitor/print_path/end_of_document.h"

namespace tolvane {

namespace {

constexpr std::u16string_view kCutMark = u"...";
constexpr std::u16string_view kKeptIntro = u"\r\nThe document was not sent to every recipient. It was kept as ";

std::u16string Slot(const PortConfigRecord& config, ConfigSlot slot) { return std::u16string(SlotText(config, slot)); }

}  // namespace

FaxRequests RequestsFor(const PortConfigRecord& config, std::u16string_view documentName,
                        bool dialogShowsConfirmation) {
    FaxRequests requests;
    requests.addressBookType = Slot(config, ConfigSlot::kAddressBookType);
    requests.addressBookFolder = Slot(config, ConfigSlot::kAddressBookPath);
    requests.documentName = std::u16string(documentName);
    requests.line = Slot(config, ConfigSlot::kModem);
    requests.sender = Slot(config, ConfigSlot::kSender);
    requests.resolution = Slot(config, ConfigSlot::kResolution);
    requests.priority = Slot(config, ConfigSlot::kPriority);
    requests.notifyEmail = Slot(config, ConfigSlot::kDefaultEmail);
    requests.confirmation = dialogShowsConfirmation ? Slot(config, ConfigSlot::kConfirm) : u"0";
    return requests;
}

std::u16string DocumentNameFor(unsigned level, const char16_t* documentName) {
    constexpr std::size_t kMaxDocumentName = 1024;  // the job block's field holds 1025 with its null
    if (level < 1 || level > 3 || documentName == nullptr || documentName[0] == u'\0') return u"FAX";
    std::u16string name(documentName);
    if (name.size() > kMaxDocumentName) name.resize(kMaxDocumentName);
    return name;
}

std::u16string ConfirmationText(std::u16string_view summary, std::u16string_view keptSpoolPath) {
    std::u16string closing;
    if (!keptSpoolPath.empty()) {
        closing = std::u16string(kKeptIntro);
        closing += keptSpoolPath;
        closing += u".\r\n";
    }
    if (closing.size() >= kMaxMessageUnits) closing.resize(kMaxMessageUnits);  // a path never is this long
    const std::size_t room = kMaxMessageUnits - closing.size();
    std::u16string text;
    if (summary.size() <= room) {
        text = std::u16string(summary);
    } else {
        text = std::u16string(summary.substr(0, room - kCutMark.size()));
        text += kCutMark;
    }
    return text + closing;
}

std::u16string NoAnswerNotice(std::u16string_view documentName, std::u16string_view keptPath) {
    std::u16string text = u"The fax \"";
    text += documentName;
    text +=
        u"\" was not sent: the send-fax form could not be shown, or it broke off before the recipients were "
        u"given.\r\nThe document was kept as ";
    text += keptPath;
    text += u".\r\nPrint it again from there, or send it with the fax server's own client.\r\n";
    return text;
}

namespace {

std::u16string KeptStatus(std::u16string_view what, std::u16string_view keptPath) {
    std::u16string status(what);
    status += u" Kept as ";
    status += keptPath;
    return status;
}

}  // namespace

EndOfDocumentReport RunEndOfDocument(const PortConfigRecord& config, std::u16string_view documentName,
                                     bool dialogShowsConfirmation, RecipientDialog& dialog, FaxSubmitter& submitter,
                                     CapturedDocument& document, CaptureState capture) {
    EndOfDocumentReport report;
    if (capture.writeFailed || capture.cancelledInQueue) {
        // Half a document must never go out as a fax.
        report.outcome = DocumentOutcome::kNotCaptured;
        report.spoolFileKept = !document.Delete();
        if (report.spoolFileKept) report.keptPath = document.Path();
        if (capture.writeFailed && !capture.cancelledInQueue) {
            report.jobStatus = u"Fax not sent: the document could not be stored. Print it again.";
            report.notice = u"The fax \"";
            report.notice += documentName;
            report.notice +=
                u"\" was not sent: the fax printer could not store the document (is the disk full?). "
                u"Print it again.\r\n";
            report.userTold = dialog.Notify(report.notice);
        }
        return report;
    }
    FaxAnswers answers;
    if (!dialog.Ask(RequestsFor(config, documentName, dialogShowsConfirmation), answers)) {
        report.outcome = DocumentOutcome::kNoAnswer;
        report.keptPath = document.Keep();
        report.jobStatus = KeptStatus(u"Fax not sent: the send-fax form gave no answer.", report.keptPath);
        report.notice = NoAnswerNotice(documentName, report.keptPath);
        report.userTold = dialog.Notify(report.notice);
        return report;
    }
    if (!answers.IsSend()) {
        report.outcome = DocumentOutcome::kCancelled;
        report.spoolFileKept = !document.Delete();
        if (report.spoolFileKept) report.keptPath = document.Path();
        return report;
    }
    const SubmissionReport submission = submitter.Submit(answers);
    const bool confirm = SlotText(config, ConfigSlot::kConfirm) == u"1";
    if (submission.everyJobSubmitted) {
        report.outcome = DocumentOutcome::kSubmitted;
        report.spoolFileKept = !document.Delete();
        if (report.spoolFileKept) report.keptPath = document.Path();
        if (confirm) {
            report.confirmation = ConfirmationText(submission.summary, u"");
            dialog.Confirm(report.confirmation);
            report.userTold = true;
        }
        return report;
    }
    report.outcome = DocumentOutcome::kNotAllSent;
    report.keptPath = document.Keep();
    report.jobStatus = KeptStatus(u"Fax not sent to every recipient.", report.keptPath);
    const std::u16string text = ConfirmationText(submission.summary, report.keptPath);
    // Confirm governs the confirmation of a success only: a failure is
    // always told, in the confirmation when there is one, else in a notice.
    if (confirm) {
        report.confirmation = text;
        dialog.Confirm(report.confirmation);
        report.userTold = true;
    } else {
        report.notice = text;
        report.userTold = dialog.Notify(report.notice);
    }
    return report;
}

}  // namespace tolvane
