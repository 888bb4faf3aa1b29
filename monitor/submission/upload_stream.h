#pragma once
// The document's bytes on the data connection, as they are ("MODE S") or
// compressed ("MODE Z"). Either way the server stores exactly the printed bytes.

#include <cstdint>
#include <string>

#include "monitor/submission/server_connection.h"
#include "monitor/submission/spool_document.h"

namespace tolvane {

struct UploadStreamResult {
    enum class Failure { kNone, kRead, kCompress, kSend };
    Failure failure = Failure::kNone;
    std::string detail;  // the reader's error, zlib's, or the connection's description
    std::uint64_t documentBytes = 0;
    std::uint64_t sentBytes = 0;  // what went onto the data connection

    bool Ok() const { return failure == Failure::kNone; }
};

// Sends the document as it is, in large blocks.
UploadStreamResult SendDocument(DocumentReader& document, ServerConnection& connection, Milliseconds sendTimeout);

// Sends the document as one zlib stream: a thread of its own reads and
// compresses while this one sends (compression inline if no thread can be
// started), with at most a few blocks in between; the level follows the link
// and the document (compression_level.h). The timeout bounds each wait for the
// server to take data, and each wait for compressed data.
UploadStreamResult SendCompressedDocument(DocumentReader& document, ServerConnection& connection,
                                          Milliseconds sendTimeout);

}  // namespace tolvane
