#pragma once
// The command lines that create and submit one fax job, in the order the
// server receives them.

#include <string>
#include <vector>

#include "monitor/submission/recipient_list.h"
#include "monitor/submission/submission_answers.h"
#include "monitor/submission/submission_settings.h"

namespace tolvane {

struct JobCommand {
    std::string line;  // ends with "\n"
    // A rejected essential command would let the job go out differently from
    // what the user asked (wrong number, resolution, line, document...), so the
    // job is not submitted. Descriptive ones (names, tagline, notification) are
    // left to the server's defaults when it refuses them, e.g. an empty sender.
    bool essential = true;
};

struct JobCommandInput {
    SubmissionSettings settings;
    SubmissionAnswers answers;
    FaxRecipient recipient;
    std::string documentName;  // the server's name of the uploaded document
    std::string jobInfoTime;   // local time as "%Y-%m-%d %H:%M:%S"
};

// From "JOB DEFAULT" (every job starts from the server's defaults, not from the
// previous job of the session) to "JSUBM". Every value is cleaned of line breaks.
std::vector<JobCommand> BuildJobCommands(const JobCommandInput& input);

}  // namespace tolvane
