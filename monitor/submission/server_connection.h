#pragma once
// The fax server's client protocol runs over two TCP connections: the control
// connection (commands out, reply lines back) and, per upload, a passive data
// connection. The submission logic talks to them only through this interface,
// so it runs unchanged over Winsock in the monitor and over POSIX sockets in
// the native tests.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

enum class IoStatus {
    Ok,
    TimedOut,  // the peer did not answer (or take data) within the time limit
    Closed,    // the peer closed the connection
    Failed,    // any other error; the detail says which
};

struct IoResult {
    IoStatus status = IoStatus::Ok;
    std::string detail;  // the system's error text, empty on success

    bool Ok() const { return status == IoStatus::Ok; }
    static IoResult Success() { return {}; }
    static IoResult Failure(IoStatus status, std::string detail) { return {status, std::move(detail)}; }
};

// "timed out after 30 s", "connection closed by the server", "failed: <detail>"
std::string DescribeIoResult(const IoResult& result);

using Milliseconds = std::chrono::milliseconds;

// The failure of a wait that reached its time limit: "after 30000 ms".
IoResult TimedOutAfter(Milliseconds timeout);

class ServerConnection {
public:
    virtual ~ServerConnection() = default;

    // Control connection to a dotted IPv4 address (no name lookup).
    virtual IoResult Connect(const std::string& address, std::uint16_t port, Milliseconds timeout) = 0;
    // Sends every byte or fails; the timeout bounds each wait for the peer to take data.
    virtual IoResult SendAll(std::string_view bytes, Milliseconds timeout) = 0;
    // One reply line without its CR LF; bytes after it stay buffered for the next call.
    // The timeout bounds the whole line, however it is split.
    virtual IoResult ReadLine(std::string& line, Milliseconds timeout) = 0;

    // The data connection of a passive transfer: opened, written, closed.
    virtual IoResult OpenDataConnection(const std::string& address, std::uint16_t port, Milliseconds timeout) = 0;
    virtual IoResult SendData(std::string_view bytes, Milliseconds timeout) = 0;
    // Caps the kernel's buffer for data not yet taken by the link, so that how
    // fast SendData returns tells how fast the link is. Answers the buffer's
    // size in effect (0 when not known). Only a compressed upload asks.
    virtual std::size_t LimitDataSendBuffer(std::size_t bytes) { return bytes; }
    // Closing tells the server the document is complete.
    virtual IoResult CloseDataConnection() = 0;

    // Closes both connections; safe to call more than once.
    virtual void Close() = 0;
};

}  // namespace tolvane
