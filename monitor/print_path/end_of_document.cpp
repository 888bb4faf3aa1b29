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

EndOfDocumentReport RunEndOfDocument(const PortConfigRecord& config, std::u16string_view documentName,
                                     bool dialogShowsConfirmation, RecipientDialog& dialog, FaxSubmitter& submitter,
                                     CapturedDocument& document) {
    EndOfDocumentReport report;
    FaxAnswers answers;
    if (!dialog.Ask(RequestsFor(config, documentName, dialogShowsConfirmation), answers)) {
        report.outcome = DocumentOutcome::kNoAnswer;
        return report;
    }
    if (!answers.IsSend()) {
        report.outcome = DocumentOutcome::kCancelled;
        report.spoolFileKept = !document.Delete();
        return report;
    }
    const SubmissionReport submission = submitter.Submit(answers);
    if (submission.everyJobSubmitted) {
        report.outcome = DocumentOutcome::kSubmitted;
        report.spoolFileKept = !document.Delete();
    } else {
        report.outcome = DocumentOutcome::kNotAllSent;
        report.spoolFileKept = true;
    }
    if (SlotText(config, ConfigSlot::kConfirm) == u"1") {
        const bool nameFile = report.outcome == DocumentOutcome::kNotAllSent;
        report.confirmation = ConfirmationText(submission.summary, nameFile ? document.Path() : std::u16string());
        dialog.Confirm(report.confirmation);
    }
    return report;
}

}  // namespace tolvane
