#include "monitor/submission/win32/winsock_connection.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace tolvane {

namespace {

using Clock = std::chrono::steady_clock;

IoResult SocketFailure(const char* what, int error) {
    if (error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN) {
        return IoResult::Failure(IoStatus::Closed, std::string(what) + ": connection reset");
    }
    return IoResult::Failure(IoStatus::Failed,
                             std::string(what) + " failed with Windows sockets error " + std::to_string(error));
}

timeval Remaining(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left < 0) left = 0;
    timeval value{};
    value.tv_sec = static_cast<long>(left / 1'000'000);
    value.tv_usec = static_cast<long>(left % 1'000'000);
    return value;
}

// Waits until the socket can be written (or its connect finished) or read;
// 0 on time-out, SOCKET_ERROR on failure, and for connects a failed attempt
// shows in the exception set.
int WaitFor(SOCKET socket, bool forWrite, Clock::time_point deadline, bool* connectFailed = nullptr) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    timeval wait = Remaining(deadline);
    const int count = ::select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &wait);
    if (connectFailed) *connectFailed = count > 0 && FD_ISSET(socket, &failed);
    return count;
}

void CloseSocket(SOCKET& socket) {
    if (socket != INVALID_SOCKET) ::closesocket(socket);
    socket = INVALID_SOCKET;
}

IoResult OpenSocket(SOCKET& socket, const std::string& address, std::uint16_t port, Milliseconds timeout) {
    CloseSocket(socket);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    // inet_addr: dotted IPv4 text, available back to the oldest supported systems.
    target.sin_addr.s_addr = ::inet_addr(address.c_str());
    if (address.empty() || (target.sin_addr.s_addr == INADDR_NONE && address != "255.255.255.255")) {
        return IoResult::Failure(IoStatus::Failed, "\"" + address + "\" is not an IPv4 address");
    }
    socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) return SocketFailure("socket", ::WSAGetLastError());
    u_long nonBlocking = 1;
    BOOL noDelay = TRUE;
    ::ioctlsocket(socket, FIONBIO, &nonBlocking);
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

    const auto deadline = Clock::now() + timeout;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return IoResult::Success();
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
        CloseSocket(socket);
        return SocketFailure("connect", error);
    }
    bool failed = false;
    const int ready = WaitFor(socket, true, deadline, &failed);
    if (ready == 0) {
        CloseSocket(socket);
        return TimedOutAfter(timeout);
    }
    if (ready == SOCKET_ERROR || failed) {
        int soError = 0;
        int length = sizeof soError;
        ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length);
        const int reason = ready == SOCKET_ERROR ? ::WSAGetLastError() : soError;
        CloseSocket(socket);
        if (reason == WSAECONNREFUSED) return IoResult::Failure(IoStatus::Failed, "connection refused");
        return SocketFailure("connect", reason);
    }
    return IoResult::Success();
}

IoResult SendEverything(SOCKET socket, std::string_view bytes, Milliseconds timeout) {
    if (socket == INVALID_SOCKET) return IoResult::Failure(IoStatus::Failed, "not connected");
    // send takes an int length: large blocks go in pieces of at most 1 GiB.
    constexpr std::size_t kMaxPiece = 1u << 30;
    while (!bytes.empty()) {
        const int piece = static_cast<int>(std::min(bytes.size(), kMaxPiece));
        const int sent = ::send(socket, bytes.data(), piece, 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        const int error = ::WSAGetLastError();
        if (sent == SOCKET_ERROR && error == WSAEWOULDBLOCK) {
            // The limit counts from the last progress, so a large document is
            // not cut off while the server keeps taking it.
            const int ready = WaitFor(socket, true, Clock::now() + timeout);
            if (ready == 0) return TimedOutAfter(timeout);
            if (ready == SOCKET_ERROR) return SocketFailure("select", ::WSAGetLastError());
            continue;
        }
        return SocketFailure("send", error);
    }
    return IoResult::Success();
}

IoResult ReceiveSome(SOCKET socket, std::span<char> chunk, std::size_t& received, Clock::time_point deadline,
                     Milliseconds timeout) {
    if (socket == INVALID_SOCKET) return IoResult::Failure(IoStatus::Failed, "not connected");
    while (true) {
        const int got = ::recv(socket, chunk.data(), static_cast<int>(chunk.size()), 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return IoResult::Success();
        }
        if (got == 0) return IoResult::Failure(IoStatus::Closed, {});
        const int error = ::WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return SocketFailure("recv", error);
        const int ready = WaitFor(socket, false, deadline);
        if (ready == 0) return TimedOutAfter(timeout);
        if (ready == SOCKET_ERROR) return SocketFailure("select", ::WSAGetLastError());
    }
}

}  // namespace

WinsockConnection::WinsockConnection() {
    WSADATA data{};
    startError_ = ::WSAStartup(MAKEWORD(2, 2), &data);
    started_ = startError_ == 0;
}

WinsockConnection::~WinsockConnection() {
    Close();
    if (started_) ::WSACleanup();
}

IoResult WinsockConnection::Connect(const std::string& address, std::uint16_t port, Milliseconds timeout) {
    if (!started_) return SocketFailure("WSAStartup", startError_);
    replies_.Clear();
    return OpenSocket(control_, address, port, timeout);
}

IoResult WinsockConnection::SendAll(std::string_view bytes, Milliseconds timeout) {
    return SendEverything(control_, bytes, timeout);
}

IoResult WinsockConnection::ReadLine(std::string& line, Milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    return replies_.ReadLine(line, [&](std::span<char> chunk, std::size_t& received) {
        return ReceiveSome(control_, chunk, received, deadline, timeout);
    });
}

IoResult WinsockConnection::OpenDataConnection(const std::string& address, std::uint16_t port, Milliseconds timeout) {
    if (!started_) return SocketFailure("WSAStartup", startError_);
    return OpenSocket(data_, address, port, timeout);
}

std::size_t WinsockConnection::LimitDataSendBuffer(std::size_t bytes) {
    int size = static_cast<int>(bytes);
    if (data_ == INVALID_SOCKET ||
        ::setsockopt(data_, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size) != 0)
        return 0;
    int length = sizeof size;
    if (::getsockopt(data_, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&size), &length) != 0 || size <= 0) return 0;
    return static_cast<std::size_t>(size);
}

IoResult WinsockConnection::SendData(std::string_view bytes, Milliseconds timeout) {
    return SendEverything(data_, bytes, timeout);
}

IoResult WinsockConnection::CloseDataConnection() {
    if (data_ == INVALID_SOCKET) return IoResult::Success();
    // A graceful close: the server must see the end of the document only
    // after every byte, never a reset.
    IoResult result = IoResult::Success();
    if (::shutdown(data_, SD_SEND) == SOCKET_ERROR) {
        const int error = ::WSAGetLastError();
        if (error != WSAENOTCONN) result = SocketFailure("shutdown", error);
    }
    CloseSocket(data_);
    return result;
}

void WinsockConnection::Close() {
    CloseSocket(data_);
    CloseSocket(control_);
    replies_.Clear();
}

}  // namespace tolvane
