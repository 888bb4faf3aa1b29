#include "monitor/submission/reply_reader.h"

#include <algorithm>

namespace tolvane {

void ReplyLineBuffer::Append(std::string_view bytes) { pending_.append(bytes); }

bool ReplyLineBuffer::TakeLine(std::string& line) {
    const std::size_t end = pending_.find('\n', scanned_);
    if (end == std::string::npos) {
        scanned_ = pending_.size();
        return false;
    }
    std::size_t length = end;
    if (length > 0 && pending_[length - 1] == '\r') --length;
    line.assign(pending_, 0, length);
    pending_.erase(0, end + 1);
    scanned_ = 0;
    return true;
}

bool ReplyLineBuffer::Overlong() const {
    // Only the part without a line end counts: whole lines waiting to be taken
    // were each checked when they were complete.
    const std::size_t end = pending_.find('\n');
    const std::size_t open = end == std::string::npos ? pending_.size() : end;
    return open > kMaxReplyLineBytes;
}

void ReplyLineBuffer::Clear() {
    pending_.clear();
    scanned_ = 0;
}

IoResult ReplyLineBuffer::ReadLine(std::string& line, const ReceiveBytes& receive) {
    char chunk[4096];
    while (!TakeLine(line)) {
        if (Overlong()) {
            return IoResult::Failure(IoStatus::Failed,
                                     "reply line longer than " + std::to_string(kMaxReplyLineBytes) + " bytes");
        }
        std::size_t received = 0;
        const IoResult result = receive(chunk, received);
        if (!result.Ok()) return result;
        Append(std::string_view(chunk, std::min(received, sizeof chunk)));
    }
    return IoResult::Success();
}

std::string ServerReply::Text() const {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ServerReply::OneLine() const {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += ' ';
        text += line;
    }
    return text;
}

int ReplyCodeOf(std::string_view line) {
    if (line.size() < 3) return 0;
    int code = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') return 0;
        code = code * 10 + (line[i] - '0');
    }
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return 0;
    return code;
}

namespace {

// "NNN-" opens a multi-line reply; it ends at a line "NNN " (or just "NNN")
// with the same code. Lines in between may say anything.
bool OpensMultiLine(std::string_view line) { return line.size() > 3 && line[3] == '-'; }

bool ClosesMultiLine(std::string_view line, int code) {
    return ReplyCodeOf(line) == code && (line.size() == 3 || line[3] == ' ');
}

}  // namespace

IoResult ReadReply(ServerConnection& connection, ServerReply& reply, Milliseconds timeout) {
    reply = ServerReply{};
    std::string line;
    IoResult result = connection.ReadLine(line, timeout);
    if (!result.Ok()) return result;
    reply.code = ReplyCodeOf(line);
    reply.lines.push_back(line);
    if (reply.code == 0 || !OpensMultiLine(line)) return result;

    while (true) {
        result = connection.ReadLine(line, timeout);
        if (!result.Ok()) return result;
        if (reply.lines.size() >= kMaxReplyLines) {
            return IoResult::Failure(IoStatus::Failed,
                                     "reply of more than " + std::to_string(kMaxReplyLines) + " lines");
        }
        reply.lines.push_back(line);
        if (ClosesMultiLine(line, reply.code)) return result;
    }
}

}  // namespace tolvane
