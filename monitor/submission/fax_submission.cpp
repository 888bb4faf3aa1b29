#include "monitor/submission/fax_submission.h"

#include <optional>

#include "monitor/submission/job_commands.h"
#include "monitor/submission/passive_reply.h"
#include "monitor/submission/protocol_text.h"
#include "monitor/submission/reply_reader.h"
#include "monitor/submission/submission_summary.h"
#include "monitor/submission/upload_stream.h"

namespace tolvane {

namespace {

// A command line as shown to the user: without its line end, and never with
// the password.
std::string Shown(const std::string& line) {
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    if (shown.rfind("PASS ", 0) == 0) return "PASS";
    return shown;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Describe(const FaxRecipient& recipient) {
    return recipient.name == "." ? recipient.number : recipient.number + " (" + recipient.name + ")";
}

// The document name in "226 Transfer complete (FILE: /tmp/doc1.ps)." or in
// "150 FILE: /tmp/doc1.ps (Opening new data connection).": after "FILE" and
// ": ", up to ")" or a blank.
std::string DocumentNameIn(const std::string& reply) {
    const std::size_t file = reply.find("FILE: ");
    if (file == std::string::npos) return {};
    const std::size_t start = file + 6;
    const std::size_t end = reply.find_first_of(") \t", start);
    return reply.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

class Submission {
public:
    Submission(ServerConnection& connection, DocumentReader& document, const SubmissionRequest& request)
        : connection_(connection),
          document_(document),
          request_(request),
          summary_({request.settings.password, QuotedProtocolValue(request.settings.password)}) {}

    SubmissionOutcome Run();

private:
    // Sends one command line and reads its reply. False when the conversation
    // cannot go on (no reply, connection lost); the problem is then recorded.
    bool Exchange(const std::string& line, ServerReply& reply, const std::string& step);
    bool Expect(const std::string& line, bool (ServerReply::*accepted)() const, ServerReply& reply,
                const std::string& step);
    bool Connect();
    bool Login();
    bool Upload();
    bool ChooseTransferMode(bool& compressed, const std::string& step);
    bool StreamDocument(bool compressed, const std::string& step);
    // False when the conversation cannot go on.
    bool SubmitJob(JobResult& job);
    void Refused(const std::string& step, const std::string& line, const ServerReply& reply);

    ServerConnection& connection_;
    DocumentReader& document_;
    const SubmissionRequest& request_;
    SubmissionSummary summary_;
    std::string documentName_;
    UploadFigures upload_;
};

bool Submission::Exchange(const std::string& line, ServerReply& reply, const std::string& step) {
    IoResult result = connection_.SendAll(line, request_.timeouts.send);
    if (result.Ok()) result = ReadReply(connection_, reply, request_.timeouts.reply);
    if (result.Ok()) return true;
    summary_.AddProblem(step + " failed at " + Quoted(Shown(line)) + ": " + DescribeIoResult(result) + ".");
    return false;
}

void Submission::Refused(const std::string& step, const std::string& line, const ServerReply& reply) {
    summary_.AddProblem(step + " failed: the fax server answered " + Quoted(reply.OneLine()) + " to " +
                        Quoted(Shown(line)) + ".");
}

bool Submission::Expect(const std::string& line, bool (ServerReply::*accepted)() const, ServerReply& reply,
                        const std::string& step) {
    if (!Exchange(line, reply, step)) return false;
    if ((reply.*accepted)()) return true;
    Refused(step, line, reply);
    return false;
}

bool Submission::Connect() {
    const SubmissionSettings& settings = request_.settings;
    const std::string where = "the fax server " + settings.server + " port " + std::to_string(request_.port);
    IoResult result = connection_.Connect(settings.server, request_.port, request_.timeouts.connect);
    if (!result.Ok()) {
        summary_.AddProblem("Cannot connect to " + where + ": " + DescribeIoResult(result) + ".");
        return false;
    }
    ServerReply greeting;
    result = ReadReply(connection_, greeting, request_.timeouts.reply);
    if (!result.Ok()) {
        summary_.AddProblem("No greeting from " + where + ": " + DescribeIoResult(result) + ".");
        return false;
    }
    if (!greeting.Completed()) {
        summary_.AddProblem("The fax server refused the session: " + Quoted(greeting.OneLine()) + ".");
        return false;
    }
    return true;
}

bool Submission::Login() {
    const SubmissionSettings& settings = request_.settings;
    ServerReply reply;
    // Quoted like every other value: a bare "PASS my secret" is a syntax
    // error that the server answers by echoing the whole line.
    const std::string user = "USER " + QuotedArgument(settings.username) + "\n";
    if (!Expect(user, &ServerReply::Positive, reply, "Login")) return false;
    if (reply.code != 230) {  // 230: no password needed for this account
        const std::string pass = "PASS " + QuotedArgument(settings.password) + "\n";
        if (!Expect(pass, &ServerReply::Completed, reply, "Login")) return false;
    }
    return true;
}

bool Submission::StreamDocument(bool compressed, const std::string& step) {
    const UploadStreamResult streamed = compressed
                                            ? SendCompressedDocument(document_, connection_, request_.timeouts.send)
                                            : SendDocument(document_, connection_, request_.timeouts.send);
    upload_ = {streamed.documentBytes, streamed.sentBytes, compressed};
    switch (streamed.failure) {
    case UploadStreamResult::Failure::kNone:
        return true;
    case UploadStreamResult::Failure::kRead:
        summary_.AddProblem(step + " failed: " + streamed.detail + ".");
        return false;
    case UploadStreamResult::Failure::kCompress:
        summary_.AddProblem(step + " failed while compressing the document: " + streamed.detail + ".");
        return false;
    case UploadStreamResult::Failure::kSend:
        break;
    }
    summary_.AddProblem(step + " failed while sending the document: " + streamed.detail + ".");
    return false;
}

// "MODE Z" unless the port says "Off" or the server refuses it, else "MODE S".
bool Submission::ChooseTransferMode(bool& compressed, const std::string& step) {
    ServerReply reply;
    compressed = false;
    if (request_.compression != UploadCompression::kOff) {
        if (!Exchange("MODE Z\n", reply, step)) return false;
        compressed = reply.Completed();
        if (compressed) return true;
    }
    return Expect("MODE S\n", &ServerReply::Completed, reply, step);
}

bool Submission::Upload() {
    const std::string step = "Upload";
    ServerReply reply;
    if (!Expect("TYPE I\n", &ServerReply::Completed, reply, step)) return false;
    bool compressed = false;
    if (!ChooseTransferMode(compressed, step)) return false;
    if (!Expect("PASV\n", &ServerReply::Completed, reply, step)) return false;
    const std::optional<PassiveAddress> passive = ParsePassiveReply(reply.OneLine());
    if (!passive) {
        summary_.AddProblem(step + " failed: no data address in the fax server's answer " + Quoted(reply.OneLine()) +
                            " to \"PASV\".");
        return false;
    }
    const std::string address =
        DataConnectionAddress(*passive, request_.settings.server, request_.settings.ignorePassiveIp);
    const IoResult opened = connection_.OpenDataConnection(address, passive->port, request_.timeouts.connect);
    if (!opened.Ok()) {
        summary_.AddProblem(step + " failed: cannot open the data connection to " + address + " port " +
                            std::to_string(passive->port) + ": " + DescribeIoResult(opened) + ".");
        return false;
    }
    if (!Expect("STOT\n", &ServerReply::Preliminary, reply, step)) {
        connection_.CloseDataConnection();
        return false;
    }
    const std::string opening = reply.OneLine();
    const bool streamed = StreamDocument(compressed, step);
    const IoResult closed = connection_.CloseDataConnection();
    if (!streamed) return false;
    if (!closed.Ok()) {
        summary_.AddProblem(step + " failed when closing the data connection: " + DescribeIoResult(closed) + ".");
        return false;
    }
    const IoResult done = ReadReply(connection_, reply, request_.timeouts.reply);
    if (!done.Ok()) {
        summary_.AddProblem(step + " failed: no confirmation of the transfer: " + DescribeIoResult(done) + ".");
        return false;
    }
    if (!reply.Completed()) {
        summary_.AddProblem(step + " failed: the fax server answered " + Quoted(reply.OneLine()) +
                            " after the document was sent.");
        return false;
    }
    documentName_ = DocumentNameIn(reply.OneLine());
    if (documentName_.empty()) documentName_ = DocumentNameIn(opening);
    if (documentName_.empty()) {
        summary_.AddProblem(step + " failed: the fax server named no document in " + Quoted(reply.OneLine()) + ".");
        return false;
    }
    return true;
}

bool Submission::SubmitJob(JobResult& job) {
    JobCommandInput input{request_.settings, request_.answers, job.recipient, documentName_, request_.jobInfoTime};
    const std::string step = "Job to " + Describe(job.recipient);
    ServerReply reply;
    for (const JobCommand& command : BuildJobCommands(input)) {
        if (!Exchange(command.line, reply, step)) {
            job.serverReply.clear();
            return false;
        }
        const bool last = command.line == "JSUBM\n";
        const bool accepted = last ? reply.Completed() : reply.Positive();
        if (accepted || !command.essential) continue;
        job.serverReply = reply.Text();
        Refused(step, command.line, reply);
        return true;
    }
    job.submitted = true;
    job.serverReply = reply.Text();
    summary_.AddSubmittedJob(job.serverReply);
    return true;
}

SubmissionOutcome Submission::Run() {
    SubmissionOutcome outcome;
    for (FaxRecipient& recipient : ParseRecipients(request_.answers.recipients, request_.answers.recipientName)) {
        outcome.jobs.push_back({std::move(recipient), false, {}});
    }
    if (outcome.jobs.empty()) {
        outcome.summary = "No fax number was given; nothing was sent to the fax server.\r\n";
        return outcome;
    }

    bool going = Connect() && Login() && Upload();
    for (JobResult& job : outcome.jobs) {
        if (!going) break;
        going = SubmitJob(job);
    }
    connection_.Close();

    std::string missed;
    for (const JobResult& job : outcome.jobs) {
        if (job.submitted) continue;
        if (!missed.empty()) missed += ", ";
        missed += Describe(job.recipient);
    }
    if (!missed.empty()) summary_.AddFinalProblem("Not submitted: " + missed + ".");

    outcome.upload = upload_;
    outcome.submittedJobs = summary_.SubmittedJobs();
    outcome.everyJobSubmitted = missed.empty();
    outcome.summary = summary_.Text();
    return outcome;
}

}  // namespace

SubmissionOutcome SubmitFax(ServerConnection& connection, DocumentReader& document, const SubmissionRequest& request) {
    return Submission(connection, document, request).Run();
}

std::string JobInfoTime(const std::tm& local) {
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace tolvane
