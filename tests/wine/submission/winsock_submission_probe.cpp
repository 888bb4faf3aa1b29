// Runs the submission over the Winsock connection under Wine, against the
// real HylaFAX server on loopback, and against a listener of its own that
// accepts and never answers.
//   winsock_submission_probe PORT SPOOLFILE RECIPIENTS
// Prints "JOB n" per submitted job, then the summary; exits 0 when every job
// was submitted and the silent listener's time-out was reported.
// Built and run by tests/submission/wine-winsock-check.sh, a ctest test of the
// native build that uses the same HylaFAX server fixture as the submission tests.
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/submission/fax_submission.h"
#include "monitor/submission/win32/winsock_connection.h"

using namespace tolvane;

namespace {

SubmissionRequest Request(std::uint16_t port, const std::string& recipients) {
    SubmissionRequest request;
    request.settings = {"127.0.0.1", "faxuser", "secret", "Wine", "1", "5", "2", "1", "0"};
    request.answers = {recipients, ".", "1", "Winsock", "2", "3", "wine@example.org"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    request.jobInfoTime = JobInfoTime(local);
    request.port = port;
    return request;
}

// A listener that completes connections in its backlog and never answers.
bool SilentListenerTimesOut() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 4);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    SubmissionRequest request = Request(ntohs(address.sin_port), "101");
    request.timeouts.reply = Milliseconds(500);
    WinsockConnection connection;
    SpoolFileReader none("Z:\\nonexistent");
    const DWORD start = GetTickCount();
    const SubmissionOutcome outcome = SubmitFax(connection, none, request);
    const DWORD elapsed = GetTickCount() - start;
    closesocket(listener);
    WSACleanup();
    std::printf("silent listener (%lu ms): %s", static_cast<unsigned long>(elapsed), outcome.summary.c_str());
    return outcome.summary.find("no answer in time") != std::string::npos && elapsed < 10000;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "plain")) {
        std::fprintf(stderr, "usage: %s PORT SPOOLFILE RECIPIENTS [plain]\n", argv[0]);
        return 2;
    }
    SubmissionRequest request = Request(static_cast<std::uint16_t>(std::atoi(argv[1])), argv[3]);
    if (argc == 5) request.compression = UploadCompression::kOff;
    WinsockConnection connection;
    SpoolFileReader reader(argv[2]);
    const DWORD start = GetTickCount();
    const SubmissionOutcome outcome = SubmitFax(connection, reader, request);
    const DWORD elapsed = GetTickCount() - start;
    for (const JobResult& job : outcome.jobs) {
        if (job.submitted) std::printf("JOB %d\n", std::atoi(job.serverReply.c_str() + 8));  // "200 Job N"
    }
    std::printf("upload: %s, %llu bytes as %llu; the submission took %lu ms\n",
                outcome.upload.compressed ? "MODE Z" : "MODE S",
                static_cast<unsigned long long>(outcome.upload.documentBytes),
                static_cast<unsigned long long>(outcome.upload.sentBytes), static_cast<unsigned long>(elapsed));
    std::printf("summary: %s\n", outcome.summary.c_str());
    const bool silentOk = SilentListenerTimesOut();
    return outcome.everyJobSubmitted && silentOk ? 0 : 1;
}
