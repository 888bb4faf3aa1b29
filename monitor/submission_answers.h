#pragma once
// What the user answered in the send-fax form, as the submission needs it.
// The conversation delivers the answers A to H in this order; answer A is the
// dialog result and decides whether anything is submitted at all.

#include <string>

namespace tolvane {

// Answer A that means "Send"; anything else (Cancel "2", the countdown, an
// empty or failed read) submits nothing.
inline bool DialogResultIsSend(const std::string& answerA) { return answerA == "1"; }

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

}  // namespace tolvane
