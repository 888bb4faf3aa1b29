#pragma once
// Hands one printed document to the fax server: log in, upload the spool file
// once, then create and submit one job per recipient, and tell the user what
// happened. Every network wait has a time limit, and every failure names the
// step and what the server answered.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "monitor/submission/recipient_list.h"
#include "monitor/submission/server_connection.h"
#include "monitor/submission/spool_document.h"
#include "monitor/submission/submission_answers.h"
#include "monitor/submission/submission_settings.h"
#include "monitor/submission/upload_compression.h"

namespace tolvane {

inline constexpr std::uint16_t kFaxServerPort = 4559;

struct SubmissionTimeouts {
    Milliseconds connect{30'000};
    // Each reply line; generous, as the server may be busy with other clients.
    Milliseconds reply{120'000};
    // Each wait for the server to take more bytes of a command or the document.
    Milliseconds send{120'000};
};

struct SubmissionRequest {
    SubmissionSettings settings;
    SubmissionAnswers answers;
    std::string jobInfoTime;  // JobInfoTime(now): when the document was submitted
    std::uint16_t port = kFaxServerPort;
    SubmissionTimeouts timeouts;
    UploadCompression compression = UploadCompression::kAuto;
};

// What the upload moved: the document's bytes, and the bytes on the data
// connection for them.
struct UploadFigures {
    std::uint64_t documentBytes = 0;
    std::uint64_t sentBytes = 0;
    bool compressed = false;  // "MODE Z"
};

struct JobResult {
    FaxRecipient recipient;
    bool submitted = false;
    std::string serverReply;  // the answer to JSUBM, or to the command that failed
};

struct SubmissionOutcome {
    std::string summary;          // for the confirmation; never empty
    std::vector<JobResult> jobs;  // one per recipient, in order
    unsigned submittedJobs = 0;
    UploadFigures upload;
    // True only when there was at least one recipient and every job was
    // submitted; otherwise the document must be kept.
    bool everyJobSubmitted = false;
};

// Runs the whole conversation on a connection that is not yet connected, and
// closes it at the end.
SubmissionOutcome SubmitFax(ServerConnection& connection, DocumentReader& document, const SubmissionRequest& request);

// A local time as "%Y-%m-%d %H:%M:%S" for the job information. The platform
// side reads its clock and time zone (localtime_s, localtime_r).
std::string JobInfoTime(const std::tm& local);

}  // namespace tolvane
