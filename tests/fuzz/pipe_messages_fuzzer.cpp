// Both ends of the pipe conversation read what the other process wrote, and
// the pipe carries what any process that opened it writes. The input is a
// list of messages, each a two-byte little-endian length and that many bytes
// (lengths beyond one read's 16384 bytes included); the first byte says
// whether the form was sent and which end reads them: the host reading the
// answers, or Korrim.exe reading the requests and the confirmation.
#include <string>
#include <vector>

#include "common/pipe_conversation.h"
#include "common/send_fax_form/fax_dialog_flow.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/in_process_channel.h"

namespace tolvane::fuzz {
namespace {

std::vector<std::vector<std::uint8_t>> Messages(FuzzInput& input) {
    std::vector<std::vector<std::uint8_t>> messages;
    while (!input.Empty() && messages.size() < 32) {
        const std::size_t low = input.Byte();
        const std::size_t length = low | (std::size_t{input.Byte()} << 8);
        const std::string_view bytes = input.Take(length);
        messages.emplace_back(bytes.begin(), bytes.end());
    }
    return messages;
}

void CheckText(const std::u16string& text) {
    Require(text.size() <= kMaxMessageUnits, "a received text fits the 8192-unit buffers");
    Require(text.find(u'\0') == std::u16string::npos, "a received text stops at its first zero unit");
}

// What a text becomes once it has travelled: an empty one arrives as a space.
std::u16string Travelled(const std::u16string& text) { return text.empty() ? u" " : text; }

void HostReadsAnswers(const std::vector<std::vector<std::uint8_t>>& messages) {
    InProcessChannelPair pair;
    for (const auto& message : messages) pair.client().WriteMessage(message);
    pair.CloseClient();
    ConversationPeer host(pair.host(), nullptr);
    FaxAnswers answers;
    ReceiveAnswers(host, answers);

    CheckText(answers.result);
    for (const std::u16string* detail : answers.DetailsInOrder()) {
        CheckText(*detail);
        Require(answers.IsSend() || detail->empty(), "details are read only after Send");
    }
    // The answers written again by a client read back as they were.
    InProcessChannelPair again;
    ConversationPeer client(again.client(), nullptr);
    SendAnswers(client, answers);
    again.CloseClient();
    ConversationPeer rehost(again.host(), nullptr);
    FaxAnswers reread;
    ReceiveAnswers(rehost, reread);
    Require(reread.result == Travelled(answers.result), "answer A reads back");
    for (std::size_t i = 0; i < FaxAnswers::kDetailCount; ++i) {
        const std::u16string& sent = *answers.DetailsInOrder()[i];
        const std::u16string& back = *reread.DetailsInOrder()[i];
        Require(back == (answers.IsSend() ? Travelled(sent) : sent), "answers B to H read back");
    }
}

// The form as Korrim.exe shows it, answering with fixed fields.
class FixedForm final : public SendFaxFormPort {
public:
    explicit FixedForm(bool send) : send_(send) {}
    std::u16string Prepare(const FormRequest& request) override {
        prepared_ = true;
        CheckText(request.addressBookFolder);
        CheckText(request.documentName);
        CheckText(request.sender);
        CheckText(request.notifyEmail);
        return u"Name";
    }
    bool ShowModal() override { return send_; }
    FormFields Fields() override { return {u"101;Sales@202", u"Name", 0, u"Office", 1, 1, u""}; }
    void ShowJobConfirm(const std::u16string& text) override {
        CheckText(text);
        confirmed_ = true;
    }

    bool prepared_ = false;
    bool confirmed_ = false;

private:
    bool send_;
};

// Reads the messages take: a message longer than one read is taken by several.
std::size_t ReadsOf(const std::vector<std::vector<std::uint8_t>>& messages) {
    std::size_t reads = 0;
    for (const auto& message : messages)
        reads += message.empty() ? 1 : (message.size() + kPipeReadBytes - 1) / kPipeReadBytes;
    return reads;
}

void ClientReadsRequests(const std::vector<std::vector<std::uint8_t>>& messages, bool send) {
    InProcessChannelPair pair;
    for (const auto& message : messages) pair.host().WriteMessage(message);
    pair.CloseHost();
    ConversationPeer client(pair.client(), nullptr);
    FixedForm form(send);
    RunFaxDialog(client, form);

    const std::size_t reads = ReadsOf(messages);
    Require(form.prepared_ == (reads >= FaxRequests::kCount), "the form shows once nine requests came");
    Require(!form.confirmed_ || (send && reads > FaxRequests::kCount),
            "a confirmation is shown only after Send and only when one came");
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const auto messages = tolvane::fuzz::Messages(input);
    if (mode & 1) {
        tolvane::fuzz::ClientReadsRequests(messages, (mode & 2) != 0);
    } else {
        tolvane::fuzz::HostReadsAnswers(messages);
    }
    return 0;
}
