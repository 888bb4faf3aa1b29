#pragma once
// Requests and documents shared by the submission tests.

#include <cstddef>
#include <string>

#include "monitor/submission/fax_submission.h"

namespace tolvane::testing {

inline SubmissionRequest DefaultRequest(std::uint16_t port) {
    SubmissionRequest request;
    request.settings = {.server = "127.0.0.1",
                        .username = "faxuser",
                        .password = "secret",
                        .advertising = "Sent by Tolvane",
                        .pageSize = "0",
                        .maxDials = "12",
                        .maxTries = "3",
                        .validity = "0",
                        .ignorePassiveIp = "0"};
    request.answers = {.recipients = "101",
                       .recipientName = "Tester",
                       .line = "0",
                       .sender = "Office",
                       .resolution = "1",
                       .priority = "1",
                       .notificationEmail = "office@example.org"};
    request.jobInfoTime = "2026-12-08 01:02:03";
    request.port = port;
    return request;
}

// PostScript with a binary section holding every byte value, zeros included.
inline std::string BinaryPostScript(std::size_t bytes) {
    std::string document = "%!PS-Adobe-3.0\n%%BeginBinary: 0\n";
    for (std::size_t i = 0; document.size() < bytes; ++i) {
        document += static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    document.resize(bytes);
    return document;
}

// A document held in memory, handed out in blocks like the spool file.
class MemoryDocument final : public DocumentReader {
public:
    explicit MemoryDocument(std::string bytes) : bytes_(std::move(bytes)) {}
    bool ReadBlock(std::vector<char>& block, std::size_t maxBytes, std::string&) override {
        const std::size_t take = std::min(maxBytes, bytes_.size() - offset_);
        block.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                     bytes_.begin() + static_cast<std::ptrdiff_t>(offset_ + take));
        offset_ += take;
        return true;
    }

private:
    std::string bytes_;
    std::size_t offset_ = 0;
};

}  // namespace tolvane::testing
