#pragma once
// The fax server connection over POSIX sockets, for the native tests and the
// benchmark (the monitor itself uses Winsock).

#include "monitor/submission/reply_reader.h"
#include "monitor/submission/server_connection.h"

namespace tolvane {

class PosixConnection final : public ServerConnection {
public:
    PosixConnection() = default;
    ~PosixConnection() override;
    PosixConnection(const PosixConnection&) = delete;
    PosixConnection& operator=(const PosixConnection&) = delete;

    IoResult Connect(const std::string& address, std::uint16_t port, Milliseconds timeout) override;
    IoResult SendAll(std::string_view bytes, Milliseconds timeout) override;
    IoResult ReadLine(std::string& line, Milliseconds timeout) override;
    IoResult OpenDataConnection(const std::string& address, std::uint16_t port, Milliseconds timeout) override;
    IoResult SendData(std::string_view bytes, Milliseconds timeout) override;
    std::size_t LimitDataSendBuffer(std::size_t bytes) override;
    IoResult CloseDataConnection() override;
    void Close() override;

private:
    int control_ = -1;
    int data_ = -1;
    ReplyLineBuffer replies_;
};

}  // namespace tolvane
