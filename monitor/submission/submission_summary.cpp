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

SubmissionSummary::SubmissionSummary(std::vector<std::string> secrets) {
    for (std::string& secret : secrets) {
        if (!secret.empty()) secrets_.push_back(std::move(secret));
    }
}

std::string SubmissionSummary::Scrubbed(std::string text) const {
    for (const std::string& secret : secrets_) {
        for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3)) {
            text.replace(at, secret.size(), "***");
        }
    }
    return text;
}

void SubmissionSummary::AddSubmittedJob(const std::string& replyText) {
    ++submitted_;
    const std::string scrubbed = Scrubbed(replyText);
    std::string reply = scrubbed.size() <= kMaxSummaryPartChars ? scrubbed : Clip(scrubbed) + "\r\n";
    if (submitted_ == 1) first_ = reply;
    last_ = std::move(reply);
}

void SubmissionSummary::AddProblem(const std::string& problem) {
    if (problems_.size() < kMaxSummaryProblems) {
        problems_.push_back(Clip(Scrubbed(problem)));
    } else {
        ++unlistedProblems_;
    }
}

void SubmissionSummary::AddFinalProblem(const std::string& problem) { finalProblem_ = Clip(Scrubbed(problem)); }

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
