// What the real server stores for each answer the user can give.
#include <gtest/gtest.h>

#include <ctime>

#include "hylafax_session.h"
#include "submission_test_support.h"

namespace tolvane::testing {
namespace {

class HylafaxJobs : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!HylafaxServer::Available(why)) GTEST_SKIP() << why;
        spool_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()) / "FAX1.tmp";
        WriteBytes(spool_, "%!PS-Adobe-3.0\n%%Pages: 1\nshowpage\n");
    }

    SubmissionRequest Request() const { return DefaultRequest(HylafaxServer::Port()); }

    // Submits and returns the job files of the submitted jobs, in order.
    std::vector<JobFile> SubmitAndRead(const SubmissionRequest& request, SubmissionOutcome* out = nullptr) {
        const SubmissionOutcome outcome = SubmitSpoolFile(request, spool_);
        EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
        std::vector<JobFile> jobs;
        for (const JobResult& job : outcome.jobs) {
            if (job.submitted) jobs.push_back(ReadJobFile(JobNumberIn(job.serverReply)));
        }
        if (out) *out = outcome;
        return jobs;
    }

    std::filesystem::path spool_;
};

TEST_F(HylafaxJobs, RecipientLoopNamesAndOneJobPerNumber) {
    SubmissionRequest request = Request();
    request.answers.recipients = "101;Sales@202;303;";
    request.answers.recipientName = ".";
    SubmissionOutcome outcome;
    const std::vector<JobFile> jobs = SubmitAndRead(request, &outcome);

    ASSERT_EQ(jobs.size(), 3u);
    const std::pair<const char*, const char*> expected[] = {{"101", "."}, {"202", "Sales"}, {"303", "Sales"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(jobs[i].at("number"), expected[i].first);
        EXPECT_EQ(jobs[i].at("receiver"), expected[i].second);
        // Each job starts from the defaults: its own group, not the first job's.
        EXPECT_EQ(jobs[i].at("groupid"), jobs[i].at("jobid"));
        EXPECT_EQ(jobs[i].at("external"), expected[i].first);
    }
    const int first = JobNumberIn(outcome.jobs[0].serverReply);
    EXPECT_EQ(outcome.summary, "200 Job " + std::to_string(first) + " submitted.\r\n    ...\n200 Job " +
                                   std::to_string(first + 2) + " submitted.\r\n Totally   3 jobs.");
}

TEST_F(HylafaxJobs, FixedParametersOfEveryJob) {
    const std::vector<JobFile> jobs = SubmitAndRead(Request());
    ASSERT_EQ(jobs.size(), 1u);
    const JobFile& job = jobs[0];
    EXPECT_EQ(job.at("number"), "101");
    EXPECT_EQ(job.at("receiver"), "Tester");
    EXPECT_EQ(job.at("sender"), "Office");
    EXPECT_EQ(job.at("maxdials"), "12");
    EXPECT_EQ(job.at("maxtries"), "3");
    EXPECT_EQ(job.at("mailaddr"), "office@example.org");
    EXPECT_EQ(job.at("notify"), "when done");
    EXPECT_EQ(job.at("jobtag"), "faxuser\t2026-12-08 01:02:03");
    EXPECT_EQ(job.at("owner"), "faxuser");
}

struct AnswerCase {
    const char* resolution;
    const char* pageSize;
    const char* priority;
    const char* validity;
    const char* line;
    const char* expectResolution;
    const char* expectXvres;
    bool expectA4;
    const char* expectPriority;
    long expectSecondsToLive;
    const char* expectModem;
};

TEST_F(HylafaxJobs, EachAnswerValueReachesTheJob) {
    const long h = 3600, m = 60, d = 86400;
    const AnswerCase cases[] = {
        {"0", "0", "0", "0", "0", "98", "0", false, "150", 2 * h + 59 * m, "any"},
        {"1", "1", "1", "1", "1", "196", "0", true, "100", 5 * h + 59 * m, "ttyS4"},
        {"2", "0", "2", "2", "2", "391", "1", false, "50", 11 * h + 59 * m, "ttyS5"},
        {"-1", "1", "3", "3", "3", "196", "0", true, "30", 23 * h + 59 * m, "ttyS6"},
        {"0", "0", "7", "4", "4", "98", "0", false, "100", d + 23 * h + 59 * m, "ttyS7"},
        {"2", "1", "", "9", "5", "391", "1", true, "100", 2 * h + 59 * m, "ttyX0"},
        {"1", "0", "1", "0", "6", "196", "0", false, "100", 2 * h + 59 * m, "ttyX1"},
        {"1", "0", "1", "0", "7", "196", "0", false, "100", 2 * h + 59 * m, "ttyX2"},
        {"1", "0", "1", "0", "8", "196", "0", false, "100", 2 * h + 59 * m, "ttyX3"},
        {"1", "0", "1", "0", "-1", "196", "0", false, "100", 2 * h + 59 * m, "any"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(std::string("resolution ") + c.resolution + " page " + c.pageSize + " priority " + c.priority +
                     " validity " + c.validity + " line " + c.line);
        SubmissionRequest request = Request();
        request.answers.resolution = c.resolution;
        request.settings.pageSize = c.pageSize;
        request.answers.priority = c.priority;
        request.settings.validity = c.validity;
        request.answers.line = c.line;
        const std::vector<JobFile> jobs = SubmitAndRead(request);
        ASSERT_EQ(jobs.size(), 1u);
        const JobFile& job = jobs[0];
        EXPECT_EQ(job.at("resolution"), c.expectResolution);
        EXPECT_EQ(job.at("usexvres"), c.expectXvres);
        if (c.expectA4) {
            EXPECT_EQ(job.at("pagewidth"), "209");
            EXPECT_EQ(job.at("pagelength"), "296");
        } else {
            EXPECT_NE(job.at("pagewidth"), "209");
        }
        EXPECT_EQ(job.at("priority"), c.expectPriority);
        EXPECT_EQ(std::stol(job.at("killtime")) - std::stol(job.at("tts")), c.expectSecondsToLive);
        EXPECT_EQ(job.at("modem"), c.expectModem);
    }
}

TEST_F(HylafaxJobs, LineBreaksInValuesNeverBecomeCommands) {
    SubmissionRequest request = Request();
    request.answers.recipients = "Evil\r\nJSUBM@1\n01";
    request.answers.sender = "Me\nJPARM DIALSTRING 999";
    request.answers.notificationEmail = "a@b.c\r";
    const std::vector<JobFile> jobs = SubmitAndRead(request);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].at("number"), "101");
    EXPECT_EQ(jobs[0].at("receiver"), "EvilJSUBM");
    EXPECT_EQ(jobs[0].at("sender"), "MeJPARM DIALSTRING 999");
    EXPECT_EQ(jobs[0].at("mailaddr"), "a@b.c");
}

TEST_F(HylafaxJobs, EmptySenderAndEmailLeaveTheServerDefaults) {
    SubmissionRequest request = Request();
    request.answers.sender = "";
    request.answers.notificationEmail = "";
    const std::vector<JobFile> jobs = SubmitAndRead(request);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].at("sender"), "faxuser");
    EXPECT_EQ(jobs[0].at("number"), "101");
}

TEST_F(HylafaxJobs, RejectedSettingFailsThatJobAndSaysWhy) {
    SubmissionRequest request = Request();
    request.settings.maxDials = "abc";
    const SubmissionOutcome outcome = SubmitSpoolFile(request, spool_);
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_NE(outcome.summary.find("Job to 101 (Tester) failed: the fax server answered \"500 'JPARM MAXDIALS abc': "
                                   "Syntax error, invalid number.\" to \"JPARM MAXDIALS abc\"."),
              std::string::npos)
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("Not submitted: 101 (Tester)."), std::string::npos) << outcome.summary;
}

TEST_F(HylafaxJobs, OneRejectedJobDoesNotStopTheOthers) {
    SubmissionRequest request = Request();
    request.answers.recipients = "101;Bad@\"202;303";  // the server cannot parse an unmatched quote
    const SubmissionOutcome outcome = SubmitSpoolFile(request, spool_);
    ASSERT_EQ(outcome.jobs.size(), 3u);
    EXPECT_TRUE(outcome.jobs[0].submitted);
    EXPECT_FALSE(outcome.jobs[1].submitted);
    EXPECT_TRUE(outcome.jobs[2].submitted);
    EXPECT_EQ(outcome.submittedJobs, 2u);
    EXPECT_NE(outcome.summary.find(" Totally   2 jobs.\r\nJob to \"202 (Bad) failed: the fax server answered \"500 "),
              std::string::npos)
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("Not submitted: \"202 (Bad)."), std::string::npos) << outcome.summary;
    // The job after the rejected one starts clean: Bad's number is not reused.
    const JobFile last = ReadJobFile(JobNumberIn(outcome.jobs[2].serverReply));
    EXPECT_EQ(last.at("number"), "303");
    EXPECT_EQ(last.at("receiver"), "Bad");
}

TEST_F(HylafaxJobs, NamesArriveExactlyAsTyped) {
    SubmissionRequest request = Request();
    request.answers.recipients = "\"Quoted Name@101;Ann \"A\" Co@202;a  b\\c 100%@303";
    request.answers.sender = "Front  desk 5% \"east\"";
    request.settings.advertising = "100% %d off";
    const std::vector<JobFile> jobs = SubmitAndRead(request);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].at("receiver"), "\"Quoted Name");
    EXPECT_EQ(jobs[1].at("receiver"), "Ann \"A\" Co");
    EXPECT_EQ(jobs[2].at("receiver"), "a  b\\c 100%");
    EXPECT_EQ(jobs[2].at("sender"), "Front  desk 5% \"east\"");
    // The server runs the tag line through strftime when it sends the page.
    std::tm anyTime{};
    char page[1024] = {};
    std::strftime(page, sizeof page, jobs[2].at("tagline").c_str(), &anyTime);
    EXPECT_NE(std::string(page).find(". To: a  b\\c 100%  From: Front  desk 5% \"east\" %l"), std::string::npos)
        << page;
    EXPECT_NE(std::string(page).find("  100% %d off"), std::string::npos) << page;
}

TEST_F(HylafaxJobs, APasswordWithBlanksCommasAndQuotesLogsIn) {
    SubmissionRequest request = Request();
    request.settings.username = "office";
    request.settings.password = "my \"secret\", ok";
    ASSERT_EQ(SubmitAndRead(request).size(), 1u);
}

TEST_F(HylafaxJobs, WrongPasswordIsReportedWithTheServersAnswer) {
    SubmissionRequest request = Request();
    request.settings.password = "wrong";
    request.answers.recipients = "101;202";
    const SubmissionOutcome outcome = SubmitSpoolFile(request, spool_);
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_EQ(outcome.summary,
              "Login failed: the fax server answered \"530 Login incorrect.\" to \"PASS\".\r\n"
              "Not submitted: 101 (Tester), 202 (Tester).\r\n");
}

}  // namespace
}  // namespace tolvane::testing
