#pragma once
// What the user answered in the send-fax form, as the submission needs it.
// The conversation delivers answer A (the dialog result: only "1", Send, leads
// to a submission; see FaxAnswers::IsSend) and then the answers B to H.

#include <string>

#include "common/pipe_conversation.h"
#include "monitor/submission/ansi_encoder.h"

namespace tolvane {

// Answers B to H, already converted to the system's ANSI code page.
struct SubmissionAnswers {
    std::string recipients;         // B: "101;Sales@202;303", entries separated by ";"
    std::string recipientName;      // C: name for entries without "@"
    std::string line;               // D: modem list position "0" to "8"
    std::string sender;             // E
    std::string resolution;         // F: "0" 98 lpi, "1" 196 lpi, "2" 391 lpi
    std::string priority;           // G: "0" to "3"
    std::string notificationEmail;  // H
};

// Answers B to H of the conversation, each converted to ANSI.
SubmissionAnswers SubmissionAnswersFrom(const FaxAnswers& answers, const AnsiEncoder& toAnsi);

}  // namespace tolvane
