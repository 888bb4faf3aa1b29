#include <gtest/gtest.h>

#include "monitor/submission/submission_summary.h"

namespace tolvane {
namespace {

std::string SummaryOf(unsigned jobs) {
    SubmissionSummary summary;
    for (unsigned i = 1; i <= jobs; ++i) summary.AddSubmittedJob("200 Job " + std::to_string(i) + " submitted.\r\n");
    return summary.Text();
}

TEST(SubmissionSummary, FirstReplyEllipsisLastReplyAndTotal) {
    EXPECT_EQ(SummaryOf(0), "");
    EXPECT_EQ(SummaryOf(1), "200 Job 1 submitted.\r\n");
    EXPECT_EQ(SummaryOf(2), "200 Job 1 submitted.\r\n200 Job 2 submitted.\r\n Totally   2 jobs.");
    EXPECT_EQ(SummaryOf(3), "200 Job 1 submitted.\r\n    ...\n200 Job 3 submitted.\r\n Totally   3 jobs.");
    EXPECT_EQ(SummaryOf(12), "200 Job 1 submitted.\r\n    ...\n200 Job 12 submitted.\r\n Totally  12 jobs.");
}

TEST(SubmissionSummary, JobCountIsRightAlignedInThreePlaces) {
    EXPECT_EQ(FormatJobCount(2), "  2");
    EXPECT_EQ(FormatJobCount(12), " 12");
    EXPECT_EQ(FormatJobCount(123), "123");
    EXPECT_EQ(FormatJobCount(1234), "1234");  // never cut
}

TEST(SubmissionSummary, ProblemsFollowOnLinesOfTheirOwn) {
    SubmissionSummary summary;
    summary.AddProblem("Login failed.");
    EXPECT_EQ(summary.Text(), "Login failed.\r\n");

    SubmissionSummary mixed;
    mixed.AddSubmittedJob("200 Job 1 submitted.\r\n");
    mixed.AddSubmittedJob("200 Job 2 submitted.\r\n");
    mixed.AddProblem("Job to 303 failed.");
    EXPECT_EQ(mixed.Text(),
              "200 Job 1 submitted.\r\n200 Job 2 submitted.\r\n Totally   2 jobs.\r\nJob to 303 failed.\r\n");
    EXPECT_TRUE(mixed.HasProblems());
    EXPECT_EQ(mixed.SubmittedJobs(), 2u);
}

TEST(SubmissionSummary, StaysBoundedWhateverTheServerSays) {
    SubmissionSummary summary;
    summary.AddSubmittedJob(std::string(100'000, 'r') + "\r\n");
    for (int i = 0; i < 50; ++i)
        summary.AddProblem("Job " + std::to_string(i) + " failed: " + std::string(10'000, 'x'));
    summary.AddFinalProblem("Not submitted: 1, 2, 3.");
    const std::string text = summary.Text();
    EXPECT_LT(text.size(), 8191u);  // one pipe message
    EXPECT_NE(text.find("Job 7 failed"), std::string::npos);
    EXPECT_EQ(text.find("Job 8 failed"), std::string::npos);
    EXPECT_NE(text.find("...\r\nJob 0 failed"), std::string::npos);  // the cut is marked
    EXPECT_NE(text.find("\r\n... and 42 more problems.\r\nNot submitted: 1, 2, 3.\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tolvane
