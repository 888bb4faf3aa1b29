#include "monitor/submission/server_connection.h"

namespace tolvane {

std::string DescribeIoResult(const IoResult& result) {
    switch (result.status) {
    case IoStatus::Ok:
        return "ok";
    case IoStatus::TimedOut:
        return result.detail.empty() ? "no answer in time" : "no answer in time (" + result.detail + ")";
    case IoStatus::Closed:
        return "the connection was closed by the server";
    case IoStatus::Failed:
        break;
    }
    return result.detail.empty() ? "network error" : result.detail;
}

IoResult TimedOutAfter(Milliseconds timeout) {
    return IoResult::Failure(IoStatus::TimedOut, "after " + std::to_string(timeout.count()) + " ms");
}

}  // namespace tolvane
