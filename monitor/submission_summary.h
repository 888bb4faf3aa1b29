#pragma once
// The text the user sees after a submission ("Job Confirm"): the server's
// answer to the first job, "    ..." from the third job on, the answer to the
// last job with " Totally NNN jobs.", then every problem in plain words.

#include <string>
#include <vector>

namespace tolvane {

class SubmissionSummary {
public:
    // replyText is the server's answer to JSUBM, each line ended by CR LF.
    void AddSubmittedJob(const std::string& replyText);
    // One line saying what failed and what the server answered.
    void AddProblem(const std::string& problem);

    unsigned SubmittedJobs() const { return submitted_; }
    bool HasProblems() const { return !problems_.empty(); }
    std::string Text() const;

private:
    unsigned submitted_ = 0;
    std::string first_;
    std::string last_;
    std::vector<std::string> problems_;
};

// The job count in three places, right-aligned with blanks: "  2", " 12", "123".
std::string FormatJobCount(unsigned count);

}  // namespace tolvane
