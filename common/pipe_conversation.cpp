#include "common/pipe_conversation.h"

#include <algorithm>
#include <utility>

namespace tolvane {

std::vector<std::uint8_t> EncodeMessage(std::u16string_view text) {
    if (text.empty()) text = u" ";
    text = text.substr(0, kMaxMessageUnits);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string DecodeMessage(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    const std::size_t units = std::min(bytes.size() / 2, kMaxMessageUnits);
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

ConversationPeer::ConversationPeer(MessageChannel& channel, AlertSink alerts)
    : channel_(channel), alerts_(std::move(alerts)) {}

bool ConversationPeer::Write(std::u16string_view text) {
    if (channel_.WriteMessage(EncodeMessage(text))) return true;
    Alert(kWritePipeFailedText, kPipeAlertCaption);
    return false;
}

bool ConversationPeer::Read(std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    if (!channel_.ReadMessage(bytes, kPipeReadBytes)) {
        Alert(kReadPipeFailedText, kPipeAlertCaption);
        return false;
    }
    text = DecodeMessage(bytes);
    return true;
}

void ConversationPeer::Alert(std::u16string_view text, std::u16string_view caption) const {
    if (alerts_) alerts_(text, caption);
}

std::array<std::u16string*, FaxRequests::kCount> FaxRequests::InOrder() {
    return {&addressBookType, &addressBookFolder, &documentName, &line,        &sender,
            &resolution,      &priority,          &notifyEmail,  &confirmation};
}

std::array<const std::u16string*, FaxRequests::kCount> FaxRequests::InOrder() const {
    return {&addressBookType, &addressBookFolder, &documentName, &line,        &sender,
            &resolution,      &priority,          &notifyEmail,  &confirmation};
}

std::array<std::u16string*, FaxAnswers::kDetailCount> FaxAnswers::DetailsInOrder() {
    return {&faxNumbers, &recipientName, &line, &sender, &resolution, &priority, &notifyEmail};
}

std::array<const std::u16string*, FaxAnswers::kDetailCount> FaxAnswers::DetailsInOrder() const {
    return {&faxNumbers, &recipientName, &line, &sender, &resolution, &priority, &notifyEmail};
}

bool SendRequests(ConversationPeer& peer, const FaxRequests& requests) {
    bool allWritten = true;
    for (const std::u16string* request : requests.InOrder()) {
        allWritten = peer.Write(*request) && allWritten;
    }
    return allWritten;
}

namespace {

// A failed read counts as an empty answer on the host side.
bool ReadAnswer(ConversationPeer& peer, std::u16string& answer) {
    if (peer.Read(answer)) return true;
    answer.clear();
    return false;
}

// The dialog result is compared without regard to case (it is a digit in
// practice; the host accepts what older clients may have sent).
bool IsSendResult(std::u16string_view result) {
    if (result.size() != kResultSend.size()) return false;
    return std::equal(result.begin(), result.end(), kResultSend.begin(), [](char16_t a, char16_t b) {
        auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
        return lower(a) == lower(b);
    });
}

}  // namespace

bool ReceiveAnswers(ConversationPeer& peer, FaxAnswers& answers) {
    answers = FaxAnswers{};
    bool allRead = ReadAnswer(peer, answers.result);
    if (!IsSendResult(answers.result)) return allRead;
    answers.result = std::u16string(kResultSend);
    for (std::u16string* detail : answers.DetailsInOrder()) {
        allRead = ReadAnswer(peer, *detail) && allRead;
    }
    return allRead;
}

bool SendConfirmation(ConversationPeer& peer, std::u16string_view text) { return peer.Write(text); }

bool SendAnswers(ConversationPeer& peer, const FaxAnswers& answers) {
    bool allWritten = peer.Write(answers.result);
    if (!answers.IsSend()) return allWritten;
    for (const std::u16string* detail : answers.DetailsInOrder()) {
        allWritten = peer.Write(*detail) && allWritten;
    }
    return allWritten;
}

}  // namespace tolvane
