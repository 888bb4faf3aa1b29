#pragma once
// The text the user sees after a submission ("Job Confirm"): the server's
// answer to the first job, "    ..." from the third job on, the answer to the
// last job with " Totally NNN jobs.", then the problems in plain words. It
// travels as one pipe message, so its parts are bounded: a server reply or a
// problem longer than kMaxSummaryPartChars is cut with "...", and problems
// beyond kMaxSummaryProblems are counted, not listed.

#include <string>
#include <vector>

namespace tolvane {

inline constexpr std::size_t kMaxSummaryPartChars = 512;
inline constexpr std::size_t kMaxSummaryProblems = 8;

class SubmissionSummary {
public:
    // `secrets`: texts that must never appear (the password, as typed and as
    // sent); every part added is searched for them and each is replaced by
    // "***", as a server may echo a command that carried one.
    explicit SubmissionSummary(std::vector<std::string> secrets = {});

    // replyText is the server's answer to JSUBM, each line ended by CR LF.
    void AddSubmittedJob(const std::string& replyText);
    // One line saying what failed and what the server answered.
    void AddProblem(const std::string& problem);

    unsigned SubmittedJobs() const { return submitted_; }
    bool HasProblems() const { return !problems_.empty() || !finalProblem_.empty(); }
    // The last problem is always listed: it says what became of the rest.
    void AddFinalProblem(const std::string& problem);
    std::string Text() const;

private:
    std::string Scrubbed(std::string text) const;

    std::vector<std::string> secrets_;
    unsigned submitted_ = 0;
    std::string first_;
    std::string last_;
    std::vector<std::string> problems_;
    unsigned unlistedProblems_ = 0;
    std::string finalProblem_;
};

// The job count in three places, right-aligned with blanks: "  2", " 12", "123".
std::string FormatJobCount(unsigned count);

}  // namespace tolvane
