#pragma once
// The fax server connection over Windows sockets, used by the monitor's print
// path. Every wait is bounded by a time limit, so a server that accepts the
// connection and then never answers cannot hold the spooler's thread.

#include <winsock2.h>

#include "monitor/submission/reply_reader.h"
#include "monitor/submission/server_connection.h"

namespace tolvane {

class WinsockConnection final : public ServerConnection {
public:
    WinsockConnection();  // starts the socket library for this object's lifetime
    ~WinsockConnection() override;
    WinsockConnection(const WinsockConnection&) = delete;
    WinsockConnection& operator=(const WinsockConnection&) = delete;

    IoResult Connect(const std::string& address, std::uint16_t port, Milliseconds timeout) override;
    IoResult SendAll(std::string_view bytes, Milliseconds timeout) override;
    IoResult ReadLine(std::string& line, Milliseconds timeout) override;
    IoResult OpenDataConnection(const std::string& address, std::uint16_t port, Milliseconds timeout) override;
    IoResult SendData(std::string_view bytes, Milliseconds timeout) override;
    std::size_t LimitDataSendBuffer(std::size_t bytes) override;
    IoResult CloseDataConnection() override;
    void Close() override;

private:
    bool started_ = false;
    int startError_ = 0;
    SOCKET control_ = INVALID_SOCKET;
    SOCKET data_ = INVALID_SOCKET;
    ReplyLineBuffer replies_;
};

}  // namespace tolvane
