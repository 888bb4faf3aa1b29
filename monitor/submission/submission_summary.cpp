#include "monitor/submission/submission_summary.h"

namespace tolvane {

std::string FormatJobCount(unsigned count) {
    std::string digits = std::to_string(count);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits;
}

namespace {

std::string Clip(const std::string& text) {
    if (text.size() <= kMaxSummaryPartChars) return text;
    return text.substr(0, kMaxSummaryPartChars - 3) + "...";
}

}  // namespace

void SubmissionSummary::AddSubmittedJob(const std::string& replyText) {
    ++submitted_;
    std::string reply = replyText.size() <= kMaxSummaryPartChars ? replyText : Clip(replyText) + "\r\n";
    if (submitted_ == 1) first_ = reply;
    last_ = std::move(reply);
}

void SubmissionSummary::AddProblem(const std::string& problem) {
    if (problems_.size() < kMaxSummaryProblems) {
        problems_.push_back(Clip(problem));
    } else {
        ++unlistedProblems_;
    }
}

void SubmissionSummary::AddFinalProblem(const std::string& problem) { finalProblem_ = Clip(problem); }

std::string SubmissionSummary::Text() const {
    std::string text = first_;
    if (submitted_ >= 3) text += "    ...\n";
    if (submitted_ > 1) text += last_ + " Totally " + FormatJobCount(submitted_) + " jobs.";
    std::vector<std::string> lines = problems_;
    if (unlistedProblems_ > 0) lines.push_back("... and " + std::to_string(unlistedProblems_) + " more problems.");
    if (!finalProblem_.empty()) lines.push_back(finalProblem_);
    for (const std::string& line : lines) {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace tolvane
