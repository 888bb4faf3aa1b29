#include "monitor/win32/fax_server_submitter.h"

#include <windows.h>

#include <ctime>
#include <filesystem>

#include "monitor/fax_submission.h"
#include "monitor/server_address.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"
#include "monitor/win32/winsock_connection.h"

namespace tolvane {

namespace {

std::string ToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, units, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

std::u16string FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return ToU16(wide.c_str());
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
    request.jobInfoTime = JobInfoTime(std::time(nullptr));
    TraceStep(L"submitting to %hs port %u", server.host.c_str(), static_cast<unsigned>(server.port));

    SubmissionOutcome outcome;
    {
        WinsockConnection connection;
        SpoolFileReader document{std::filesystem::path(spoolPath_)};
        outcome = SubmitFax(connection, document, request);
    }  // the spool file is closed here, before it may be deleted
    TraceStep(L"%u job(s) submitted, every job: %ls", outcome.submittedJobs,
              outcome.everyJobSubmitted ? L"yes" : L"no");
    SubmissionReport report;
    report.summary = FromAnsi(outcome.summary);
    report.everyJobSubmitted = outcome.everyJobSubmitted;
    return report;
}

}  // namespace tolvane
