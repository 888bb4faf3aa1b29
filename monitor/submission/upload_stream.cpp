#include "monitor/submission/upload_stream.h"

#include <string_view>
#include <vector>

namespace tolvane {

UploadStreamResult SendDocument(DocumentReader& document, ServerConnection& connection, Milliseconds sendTimeout) {
    UploadStreamResult result;
    std::vector<char> block;
    block.reserve(kUploadBlockBytes);
    while (true) {
        if (!document.ReadBlock(block, kUploadBlockBytes, result.detail)) {
            result.failure = UploadStreamResult::Failure::kRead;
            return result;
        }
        if (block.empty()) return result;
        result.documentBytes += block.size();
        const IoResult sent = connection.SendData(std::string_view(block.data(), block.size()), sendTimeout);
        if (!sent.Ok()) {
            result.failure = UploadStreamResult::Failure::kSend;
            result.detail = DescribeIoResult(sent);
            return result;
        }
        result.sentBytes += block.size();
    }
}

}  // namespace tolvane
