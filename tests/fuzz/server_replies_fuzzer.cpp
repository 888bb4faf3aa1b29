// The fax server's side of the client protocol is outside input: whatever the
// server (or something posing as it) sends is read into replies, and the whole
// submission runs on those replies. The first byte picks how the bytes are cut
// into receives (a server's replies come split anywhere); the rest is what the
// server sends, from its greeting on.
#include <string>
#include <vector>

#include "monitor/submission/fax_submission.h"
#include "monitor/submission/reply_reader.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/submission/submission_test_support.h"

namespace tolvane::fuzz {
namespace {

// A control connection whose peer sends the fuzzer's bytes and then closes.
// Reads go through the same line buffer as the socket connections.
class ScriptedServerStream final : public ServerConnection {
public:
    ScriptedServerStream(std::string_view sent, std::size_t pieceBytes) : sent_(sent), pieceBytes_(pieceBytes) {}

    IoResult Connect(const std::string&, std::uint16_t, Milliseconds) override { return IoResult::Success(); }
    IoResult SendAll(std::string_view bytes, Milliseconds) override {
        commands_.emplace_back(bytes);
        return IoResult::Success();
    }
    IoResult ReadLine(std::string& line, Milliseconds) override {
        return lines_.ReadLine(line, [this](std::span<char> chunk, std::size_t& received) {
            if (sent_.empty()) return IoResult::Failure(IoStatus::Closed, {});
            received = std::min({pieceBytes_, chunk.size(), sent_.size()});
            std::copy_n(sent_.data(), received, chunk.data());
            sent_.remove_prefix(received);
            return IoResult::Success();
        });
    }
    IoResult OpenDataConnection(const std::string&, std::uint16_t port, Milliseconds) override {
        Require(port != 0, "a data connection never goes to port 0");
        return IoResult::Success();
    }
    IoResult SendData(std::string_view, Milliseconds) override { return IoResult::Success(); }
    IoResult CloseDataConnection() override { return IoResult::Success(); }
    void Close() override {}

    const std::vector<std::string>& Commands() const { return commands_; }

private:
    std::string_view sent_;
    std::size_t pieceBytes_;
    ReplyLineBuffer lines_;
    std::vector<std::string> commands_;
};

std::size_t PieceBytes(std::uint8_t selector) {
    // Mostly small pieces, where line ends fall between receives; now and
    // then whole buffers.
    return selector < 0xF0 ? 1 + selector % 17 : 4096;
}

void CheckReply(const ServerReply& reply) {
    Require(!reply.lines.empty(), "a reply has at least one line");
    Require(reply.lines.size() <= kMaxReplyLines, "a reply holds at most kMaxReplyLines lines");
    Require(reply.code == ReplyCodeOf(reply.lines.front()), "the reply code is the first line's");
    std::size_t textBytes = 0;
    for (const std::string& line : reply.lines) {
        Require(line.find('\n') == std::string::npos, "a reply line holds no line feed");
        textBytes += line.size() + 2;
    }
    Require(reply.Text().size() == textBytes, "the reply text is its lines with CR LF");
    Require(reply.Positive() == (reply.code >= 100 && reply.code < 400), "positive means 1xx to 3xx");
}

// Every reply the bytes hold, one after the other, as the submission reads them.
void ReadAllReplies(std::string_view sent, std::size_t pieceBytes) {
    ScriptedServerStream stream(sent, pieceBytes);
    for (int replies = 0; replies < 10000; ++replies) {
        ServerReply reply;
        if (!ReadReply(stream, reply, Milliseconds{1}).Ok()) return;
        CheckReply(reply);
    }
}

void Submit(std::string_view sent, std::size_t pieceBytes) {
    ScriptedServerStream stream(sent, pieceBytes);
    SubmissionRequest request = testing::DefaultRequest(kFaxServerPort);
    request.answers.recipients = "101;Sales@202;303";
    testing::MemoryDocument document("%!PS-Adobe-3.0\nshowpage\n");

    const SubmissionOutcome outcome = SubmitFax(stream, document, request);

    Require(!outcome.summary.empty(), "the user always learns what happened");
    // The summary travels to the form as one pipe message: it must fit whole.
    Require(outcome.summary.size() <= kMaxMessageUnits, "the summary fits one pipe message");
    Require(outcome.jobs.size() == 3, "one job result per recipient");
    std::size_t submitted = 0;
    for (const JobResult& job : outcome.jobs) submitted += job.submitted ? 1 : 0;
    Require(submitted == outcome.submittedJobs, "the count of submitted jobs is the jobs marked submitted");
    Require(outcome.everyJobSubmitted == (submitted == outcome.jobs.size()), "all submitted means every job");
    for (const std::string& command : stream.Commands()) {
        Require(!command.empty() && command.back() == '\n', "each command ends with its line feed");
        Require(command.find_first_of("\r\n") == command.size() - 1, "a command is one line");
    }
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::FuzzInput input(data, size);
    const std::size_t pieceBytes = tolvane::fuzz::PieceBytes(input.Byte());
    const std::string_view sent = input.Rest();
    tolvane::fuzz::ReadAllReplies(sent, pieceBytes);
    tolvane::fuzz::Submit(sent, pieceBytes);
    return 0;
}
