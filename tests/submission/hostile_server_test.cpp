// The submission against a server that answers in pieces, late, in multi-line
// replies, or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "monitor/submission/posix/posix_connection.h"
#include "inflate_support.h"
#include "sample_documents.h"
#include "scripted_server.h"
#include "submission_test_support.h"

namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;

SubmissionOutcome Submit(SubmissionRequest request, const std::string& document) {
    PosixConnection connection;
    MemoryDocument reader(document);
    return SubmitFax(connection, reader, request);
}

ScriptedBehaviour Naming(const std::string& passiveAddress) {
    ScriptedBehaviour behaviour;
    behaviour.passiveAddress = passiveAddress;
    return behaviour;
}

TEST(HostileServer, SplitLateAndMultiLineRepliesKeepCommandsAndRepliesInStep) {
    ScriptedBehaviour hostile;
    hostile.pieceBytes = 3;
    hostile.pieceDelay = 1ms;
    hostile.transferDelay = 300ms;
    hostile.multiLineReplies = true;
    ScriptedServer server(hostile);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.answers.recipients = "101;Sales@202;303";
    const std::string document = BinaryPostScript(3 * 1024 * 1024 + 17);

    const SubmissionOutcome outcome = Submit(request, document);

    EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
    EXPECT_EQ(outcome.submittedJobs, 3u);
    EXPECT_EQ(outcome.summary, "200 Job 1 submitted.\r\n    ...\n200 Job 3 submitted.\r\n Totally   3 jobs.");
    EXPECT_TRUE(server.Document() == document) << "uploaded " << server.Document().size() << " bytes";
    const std::vector<std::string> commands = server.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "JSUBM"), 3);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i] == "JNEW") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(commands[i - 1], "JOB DEFAULT") << "JNEW at command " << i;
        }
    }
}

TEST(HostileServer, APasswordTheServerEchoesNeverReachesTheSummary) {
    ScriptedBehaviour echoing;
    echoing.echoCommands = true;
    ScriptedServer server(echoing);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.settings.password = "my \"secret\", ok";
    const SubmissionOutcome outcome = Submit(request, "%!PS\n");
    EXPECT_EQ(server.Commands().at(1), "PASS \"my \\\"secret\\\", ok\"") << "quoted and escaped";
    EXPECT_EQ(outcome.summary.find("secret"), std::string::npos) << outcome.summary;
    EXPECT_NE(outcome.summary.find("Login failed: the fax server answered \"500 'PASS \"***\"': Syntax error.\""),
              std::string::npos)
        << outcome.summary;
}

TEST(HostileServer, IgnorePassiveIpConnectsDataToTheServerAddress) {
    // 192.0.2.1 is reserved for documentation and never reachable.
    ScriptedServer server(Naming("192,0,2,1"));
    SubmissionRequest request = DefaultRequest(server.Port());
    request.settings.ignorePassiveIp = "1";
    request.timeouts.connect = 2s;

    const SubmissionOutcome outcome = Submit(request, "%!PS\n");

    EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
    EXPECT_EQ(server.Document(), "%!PS\n");
}

TEST(HostileServer, UnreachablePassiveAddressIsReportedAsUploadFailure) {
    ScriptedServer server(Naming("192,0,2,1"));
    SubmissionRequest request = DefaultRequest(server.Port());
    request.timeouts.connect = 300ms;

    const SubmissionOutcome outcome = Submit(request, "%!PS\n");

    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_NE(outcome.summary.find("Upload failed: cannot open the data connection to 192.0.2.1"), std::string::npos)
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("Not submitted: 101 (Tester)."), std::string::npos) << outcome.summary;
}

TEST(HostileServer, SilentServerTimesOutAndSaysSo) {
    ScriptedBehaviour silent;
    silent.silent = true;
    ScriptedServer server(silent);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.timeouts.reply = 300ms;

    const auto start = std::chrono::steady_clock::now();
    const SubmissionOutcome outcome = Submit(request, "%!PS\n");
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, 10s);
    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_NE(outcome.summary.find("No greeting from the fax server 127.0.0.1 port"), std::string::npos)
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("no answer in time"), std::string::npos) << outcome.summary;
}

TEST(HostileServer, ServerFallingSilentMidJobStopsAndNamesTheStep) {
    ScriptedBehaviour falling;
    falling.silentAfter = "JPARM MAXDIALS 12";
    ScriptedServer server(falling);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.answers.recipients = "101;Sales@202";
    request.timeouts.reply = 300ms;

    const SubmissionOutcome outcome = Submit(request, "%!PS\n");

    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_NE(outcome.summary.find("Job to 101 (Tester) failed at \"JPARM MAXDIALS 12\": no answer in time"),
              std::string::npos)
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("Not submitted: 101 (Tester), 202 (Sales)."), std::string::npos) << outcome.summary;
    // Nothing is sent after the step that got no answer.
    EXPECT_EQ(server.Commands().back(), "JPARM MAXDIALS 12");
}

TEST(HostileServer, ServerThatStopsTakingTheDocumentTimesOut) {
    ScriptedBehaviour stalling;
    stalling.stallUpload = true;
    ScriptedServer server(stalling);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.timeouts.send = 300ms;

    const auto start = std::chrono::steady_clock::now();
    // Random data: compression cannot make it fit into the connection's buffers.
    const SubmissionOutcome outcome = Submit(request, RandomPostScript(64 * 1024 * 1024));

    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_NE(outcome.summary.find("Upload failed while sending the document: no answer in time"), std::string::npos)
        << outcome.summary;
}

TEST(HostileServer, NothingListeningIsReportedAsConnectFailure) {
    std::uint16_t port;
    {
        ScriptedServer closed({});
        port = closed.Port();
    }  // its port is free again

    const SubmissionOutcome outcome = Submit(DefaultRequest(port), "%!PS\n");

    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_EQ(outcome.summary.rfind("Cannot connect to the fax server 127.0.0.1 port " + std::to_string(port), 0), 0u)
        << outcome.summary;
}

TEST(HostileServer, NoRecipientsSubmitsNothingWithoutConnecting) {
    SubmissionRequest request = DefaultRequest(1);
    request.answers.recipients = ";;";
    const SubmissionOutcome outcome = Submit(request, "%!PS\n");
    EXPECT_TRUE(outcome.jobs.empty());
    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_EQ(outcome.summary, "No fax number was given; nothing was sent to the fax server.\r\n");
}

// Over a slow link (the server reads 64 KiB every 10 ms) compression pays:
// the stream shrinks the compressible parts and stores the random one.
TEST(HostileServer, CompressedUploadIsOneZlibStreamOfTheDocument) {
    ScriptedBehaviour slow;
    slow.uploadPause = 10ms;
    ScriptedServer server(slow);
    SubmissionRequest request = DefaultRequest(server.Port());
    // Compressible, then incompressible (stored), then compressible again.
    const std::string document = HexPostScript(2'000'000) + RandomPostScript(1'000'000) + PrintedPostScript(4'000'000);

    const SubmissionOutcome outcome = Submit(request, document);

    ASSERT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
    EXPECT_TRUE(outcome.upload.compressed);
    EXPECT_EQ(outcome.upload.documentBytes, document.size());
    EXPECT_EQ(outcome.upload.sentBytes, server.WireBytes().size());
    EXPECT_LT(outcome.upload.sentBytes, document.size() * 3 / 4);
    bool complete = false;
    EXPECT_TRUE(Inflated(server.WireBytes(), complete) == document);
    EXPECT_TRUE(complete);
    const std::vector<std::string> commands = server.Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "MODE Z"), commands.end());
    EXPECT_EQ(std::find(commands.begin(), commands.end(), "MODE S"), commands.end());
}

TEST(HostileServer, WithCompressionOffOrRefusedTheDocumentGoesAsItIs) {
    {
        ScriptedServer server({});
        SubmissionRequest request = DefaultRequest(server.Port());
        request.compression = UploadCompression::kOff;
        const std::string document = HexPostScript(1'500'000);
        const SubmissionOutcome outcome = Submit(request, document);
        EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
        EXPECT_FALSE(outcome.upload.compressed);
        EXPECT_TRUE(server.WireBytes() == document);
        const std::vector<std::string> commands = server.Commands();
        EXPECT_EQ(std::find(commands.begin(), commands.end(), "MODE Z"), commands.end());
    }
    ScriptedBehaviour plain;
    plain.refuseModeZ = true;
    ScriptedServer server(plain);
    SubmissionRequest request = DefaultRequest(server.Port());
    const std::string document = HexPostScript(1'500'000);

    const SubmissionOutcome outcome = Submit(request, document);

    EXPECT_TRUE(outcome.everyJobSubmitted) << outcome.summary;
    EXPECT_FALSE(outcome.upload.compressed);
    EXPECT_TRUE(server.WireBytes() == document);
    const std::vector<std::string> commands = server.Commands();
    const auto modeZ = std::find(commands.begin(), commands.end(), "MODE Z");
    ASSERT_NE(modeZ, commands.end());
    ASSERT_NE(modeZ + 1, commands.end());
    EXPECT_EQ(*(modeZ + 1), "MODE S");
}

TEST(HostileServer, ALinkLostDuringACompressedUploadFailsTheUpload) {
    ScriptedBehaviour breaking;
    breaking.closeUploadAfter = 1024 * 1024;
    ScriptedServer server(breaking);
    SubmissionRequest request = DefaultRequest(server.Port());
    request.answers.recipients = "101;202";

    const SubmissionOutcome outcome = Submit(request, RandomPostScript(32 * 1024 * 1024));

    EXPECT_EQ(outcome.submittedJobs, 0u);
    EXPECT_FALSE(outcome.everyJobSubmitted);
    EXPECT_NE(outcome.summary.find("Upload failed while sending the document: "), std::string::npos) << outcome.summary;
    EXPECT_NE(outcome.summary.find("Not submitted: 101 (Tester), 202 (Tester)."), std::string::npos) << outcome.summary;
    const std::vector<std::string> commands = server.Commands();
    EXPECT_EQ(std::find(commands.begin(), commands.end(), "JNEW"), commands.end());
}

}  // namespace
}  // namespace tolvane::testing
