// The uploaded document, as the server keeps it, is the spool file byte for byte.
#include <gtest/gtest.h>

#include "hylafax_session.h"
#include "submission_test_support.h"

namespace tolvane::testing {
namespace {

class HylafaxDocument : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!HylafaxServer::Available(why)) GTEST_SKIP() << why;
        folder_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // Uploads the bytes to the given recipients and checks what every job's
    // document in docq/ holds.
    void ExpectStoredExactly(const std::string& bytes, const std::string& recipients) {
        const std::filesystem::path spool = folder_ / "FAX2.tmp";
        WriteBytes(spool, bytes);
        SubmissionRequest request = DefaultRequest(HylafaxServer::Port());
        request.answers.recipients = recipients;
        const SubmissionOutcome outcome = SubmitSpoolFile(request, spool);
        ASSERT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
        for (const JobResult& job : outcome.jobs) {
            const std::string document = ReadJobFile(JobNumberIn(job.serverReply)).at("postscript");
            const std::string relative = document.substr(document.rfind(':') + 1);  // "0::docq/doc7.ps.9"
            const std::string stored = ReadBytes(HylafaxServer::Spool() / relative);
            EXPECT_EQ(stored.size(), bytes.size()) << relative;
            EXPECT_TRUE(stored == bytes) << relative << " differs from the spool file";
        }
    }

    std::filesystem::path folder_;
};

TEST_F(HylafaxDocument, BinaryPostScriptWithZeroBytes) {
    std::string bytes = BinaryPostScript(200'000);
    bytes += std::string(5000, '\0') + "\n\r\n%%EOF\n";
    ExpectStoredExactly(bytes, "101;202");
}

TEST_F(HylafaxDocument, FiftyMegabytes) { ExpectStoredExactly(BinaryPostScript(50 * 1024 * 1024 + 3), "101"); }

TEST_F(HylafaxDocument, MissingSpoolFileIsReportedAndNothingSubmitted) {
    SubmissionRequest request = DefaultRequest(HylafaxServer::Port());
    const SubmissionOutcome outcome = SubmitSpoolFile(request, folder_ / "gone.tmp");
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_EQ(outcome.summary, "Upload failed: cannot open the spool file.\r\nNot submitted: 101 (Tester).\r\n");
}

}  // namespace
}  // namespace tolvane::testing
