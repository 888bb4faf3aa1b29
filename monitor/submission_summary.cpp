#include "monitor/submission_summary.h"

namespace tolvane {

std::string FormatJobCount(unsigned count) {
    std::string digits = std::to_string(count);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits;
}

void SubmissionSummary::AddSubmittedJob(const std::string& replyText) {
    ++submitted_;
    if (submitted_ == 1) first_ = replyText;
    last_ = replyText;
}

void SubmissionSummary::AddProblem(const std::string& problem) { problems_.push_back(problem); }

std::string SubmissionSummary::Text() const {
    std::string text = first_;
    if (submitted_ >= 3) text += "    ...\n";
    if (submitted_ > 1) text += last_ + " Totally " + FormatJobCount(submitted_) + " jobs.";
    for (const std::string& problem : problems_) {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text += problem;
        text += "\r\n";
    }
    return text;
}

}  // namespace tolvane
