#pragma once
// What a fax port does when a document has been captured: ask the user for
// the recipients, hand the document to the fax server, show the outcome, and
// decide what becomes of the spool file. The spool file is deleted only when
// the user cancelled or every job was submitted, or when the document was not
// captured whole (a failed write, a job cancelled in the print queue), which
// is then never offered for sending. Otherwise the fax did not leave: the
// document is moved to a folder its user can open, the user is told on their
// own desktop what failed and where the document is (in the confirmation when
// the port asks for one, else in a notice), and the spooler job is given an
// error status instead of being marked sent.
//
// The platform supplies the dialog (Korrim.exe over the pipe, or the form in
// the monitor's own process), the submission (Winsock to the fax server) and
// the spool file; this file only decides.

#include <string>
#include <string_view>

#include "common/pipe_conversation.h"
#include "common/port_config_record.h"

namespace tolvane {

// The user's side: the send-fax form, wherever it is shown.
class RecipientDialog {
public:
    virtual ~RecipientDialog() = default;
    // Shows the form filled from the requests. False when no answer came at
    // all (the dialog could not be shown or broke off before answer A).
    virtual bool Ask(const FaxRequests& requests, FaxAnswers& answers) = 0;
    // Shows the confirmation text to the user.
    virtual void Confirm(std::u16string_view text) = 0;
    // Tells the user, on their desktop, that the fax did not leave. False
    // when nobody could be told.
    virtual bool Notify(std::u16string_view text) = 0;
};

struct SubmissionReport {
    std::u16string summary;  // what the server answered, or what failed
    bool everyJobSubmitted = false;
};

class FaxSubmitter {
public:
    virtual ~FaxSubmitter() = default;
    // Uploads the spool file and submits one job per recipient of the answers.
    virtual SubmissionReport Submit(const FaxAnswers& answers) = 0;
};

class CapturedDocument {
public:
    virtual ~CapturedDocument() = default;
    virtual std::u16string Path() const = 0;
    // False when the file could not be deleted (it then stays).
    virtual bool Delete() = 0;
    // Moves the document to a folder its user can open. Answers the path it
    // is kept at: its old one when it could not be moved.
    virtual std::u16string Keep() = 0;
};

// How the document came in: the spooler stops feeding a job the user cancels
// in the print queue, and a failed write leaves a gap in the file.
struct CaptureState {
    bool writeFailed = false;
    bool cancelledInQueue = false;
};

enum class DocumentOutcome {
    kNoAnswer,     // the dialog gave no answer: nothing sent, file kept
    kCancelled,    // the user cancelled (or the countdown did): file deleted
    kSubmitted,    // every job submitted: file deleted
    kNotAllSent,   // something failed: file kept and named
    kNotCaptured,  // a failed write or a cancel in the queue: never offered, file deleted
};

struct EndOfDocumentReport {
    DocumentOutcome outcome = DocumentOutcome::kNoAnswer;
    bool spoolFileKept = true;
    std::u16string keptPath;      // where the kept document is; empty when deleted
    std::u16string confirmation;  // empty when none was shown
    std::u16string notice;        // the failure notice; empty when none was due
    bool userTold = false;        // a notice or confirmation reached the dialog
    // The job's error status for the print queue; empty: the job is marked
    // sent (every job submitted, or nothing to send).
    std::u16string jobStatus;
};

// The nine requests from the port's settings. Request 9 asks the dialog for a
// confirmation only when the port wants one (Confirm "1") and the dialog is
// the one to show it.
FaxRequests RequestsFor(const PortConfigRecord& config, std::u16string_view documentName, bool dialogShowsConfirmation);

// The name of the document as the user sees it: the document information's
// name for levels 1 to 3 when it has one, else "FAX".
std::u16string DocumentNameFor(unsigned level, const char16_t* documentName);

// The confirmation: the summary, and when the spool file was kept, a closing
// line naming it. The whole text fits one pipe message: the summary is cut
// (marked with "...") before the file's name ever is.
std::u16string ConfirmationText(std::u16string_view summary, std::u16string_view keptSpoolPath);

// The notice for a document the dialog gave no answer for.
std::u16string NoAnswerNotice(std::u16string_view documentName, std::u16string_view keptPath);

// The whole sequence after the spool file has been closed.
EndOfDocumentReport RunEndOfDocument(const PortConfigRecord& config, std::u16string_view documentName,
                                     bool dialogShowsConfirmation, RecipientDialog& dialog, FaxSubmitter& submitter,
                                     CapturedDocument& document, CaptureState capture = {});

}  // namespace tolvane
