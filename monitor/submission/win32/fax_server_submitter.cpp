#include "monitor/submission/win32/fax_server_submitter.h"

#include <windows.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "common/win32/ansi_text.h"
#include "monitor/submission/fax_submission.h"
#include "monitor/submission/server_address.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"
#include "monitor/submission/win32/winsock_connection.h"

namespace tolvane {

namespace {

std::string ToAnsi(std::u16string_view text) { return WideToAnsi(ToWide(text)); }
std::u16string FromAnsi(const std::string& text) { return ToU16(AnsiToWide(text)); }

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}

}  // namespace

SubmissionReport FaxServerSubmitter::Submit(const FaxAnswers& answers) {
    const AnsiEncoder toAnsi = ToAnsi;
    SubmissionRequest request;
    request.settings = SubmissionSettingsFrom(config_, toAnsi);
    const FaxServerAddress server = ParseFaxServerAddress(request.settings.server, kFaxServerPort);
    request.settings.server = server.host;
    request.port = server.port;
    request.answers = SubmissionAnswersFrom(answers, toAnsi);
    request.jobInfoTime = JobInfoTime(LocalTimeNow());
    request.compression = compression_;
    TraceStep(L"submitting to %hs port %u", server.host.c_str(), static_cast<unsigned>(server.port));

    SubmissionOutcome outcome;
    {
        WinsockConnection connection;
        SpoolFileReader document{std::filesystem::path(spoolPath_)};
        outcome = SubmitFax(connection, document, request);
    }  // the spool file is closed here, before it may be deleted
    TraceStep(L"document of %ls bytes uploaded as %ls bytes (%ls)",
              std::to_wstring(outcome.upload.documentBytes).c_str(), std::to_wstring(outcome.upload.sentBytes).c_str(),
              outcome.upload.compressed ? L"MODE Z" : L"MODE S");
    TraceStep(L"%u job(s) submitted, every job: %ls", outcome.submittedJobs,
              outcome.everyJobSubmitted ? L"yes" : L"no");
    SubmissionReport report;
    report.summary = FromAnsi(outcome.summary);
    report.everyJobSubmitted = outcome.everyJobSubmitted;
    return report;
}

}  // namespace tolvane
