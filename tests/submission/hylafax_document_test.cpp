// The uploaded document, as the server keeps it, is the spool file byte for byte.
#include <gtest/gtest.h>

#include "hylafax_session.h"
#include "sample_documents.h"
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
    // Answers the upload's figures.
    UploadFigures ExpectStoredExactly(const std::string& bytes, const std::string& recipients,
                                      UploadCompression compression = UploadCompression::kAuto) {
        const std::filesystem::path spool = folder_ / "FAX2.tmp";
        WriteBytes(spool, bytes);
        SubmissionRequest request = DefaultRequest(HylafaxServer::Port());
        request.answers.recipients = recipients;
        request.compression = compression;
        const SubmissionOutcome outcome = SubmitSpoolFile(request, spool);
        EXPECT_EQ(outcome.upload.documentBytes, bytes.size());
        EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
        if (!outcome.everyJobSubmitted) return outcome.upload;
        for (const JobResult& job : outcome.jobs) {
            const std::string document = ReadJobFile(JobNumberIn(job.serverReply)).at("postscript");
            const std::string relative = document.substr(document.rfind(':') + 1);  // "0::docq/doc7.ps.9"
            const std::string stored = ReadBytes(HylafaxServer::Spool() / relative);
            EXPECT_EQ(stored.size(), bytes.size()) << relative;
            EXPECT_TRUE(stored == bytes) << relative << " differs from the spool file";
        }
        return outcome.upload;
    }

    std::filesystem::path folder_;
};

TEST_F(HylafaxDocument, BinaryPostScriptWithZeroBytes) {
    std::string bytes = BinaryPostScript(200'000);
    bytes += std::string(5000, '\0') + "\n\r\n%%EOF\n";
    EXPECT_TRUE(ExpectStoredExactly(bytes, "101;202").compressed);
    EXPECT_FALSE(ExpectStoredExactly(bytes, "101;202", UploadCompression::kOff).compressed);
}

TEST_F(HylafaxDocument, FiftyMegabytes) {
    ExpectStoredExactly(BinaryPostScript(50 * 1024 * 1024 + 3), "101", UploadCompression::kOff);
}

// Each kind of print data, compressed, as the server inflates it. On
// loopback the sender outruns compression, so the level falls on the way,
// often to plain stored blocks: the stream must stay whole through it.
TEST_F(HylafaxDocument, CompressedUploadsArriveByteForByte) {
    EXPECT_TRUE(ExpectStoredExactly(HexPostScript(3'000'001), "101").compressed);
    EXPECT_TRUE(ExpectStoredExactly(PrintedPostScript(4'000'000), "202").compressed);
    // Random data is stored: barely more than the document on the wire.
    const UploadFigures random = ExpectStoredExactly(RandomPostScript(3'000'000), "303");
    EXPECT_TRUE(random.compressed);
    EXPECT_LT(random.sentBytes, random.documentBytes + random.documentBytes / 100);
}

TEST_F(HylafaxDocument, FiftyMegabytesCompressed) {
    const std::string bytes = PrintedPostScript(25 * 1024 * 1024) + RandomPostScript(25 * 1024 * 1024);
    EXPECT_TRUE(ExpectStoredExactly(bytes, "101").compressed);
}

TEST_F(HylafaxDocument, MissingSpoolFileIsReportedAndNothingSubmitted) {
    SubmissionRequest request = DefaultRequest(HylafaxServer::Port());
    const SubmissionOutcome outcome = SubmitSpoolFile(request, folder_ / "gone.tmp");
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_EQ(outcome.summary, "Upload failed: cannot open the spool file.\r\nNot submitted: 101 (Tester).\r\n");
}

}  // namespace
}  // namespace tolvane::testing
