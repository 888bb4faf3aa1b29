#include "monitor/submission/posix/posix_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tolvane {

namespace {

using Clock = std::chrono::steady_clock;

IoResult SystemFailure(const std::string& what) {
    return IoResult::Failure(IoStatus::Failed, what + ": " + std::strerror(errno));
}

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for the socket to become readable or writable; 0 on time-out.
int WaitFor(int fd, short events, Clock::time_point deadline) {
    while (true) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(deadline));
        if (ready >= 0 || errno != EINTR) return ready;
    }
}

void CloseSocket(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

IoResult OpenSocket(int& fd, const std::string& address, std::uint16_t port, Milliseconds timeout) {
    CloseSocket(fd);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &target.sin_addr) != 1) {
        return IoResult::Failure(IoStatus::Failed, "\"" + address + "\" is not an IPv4 address");
    }
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return SystemFailure("socket");
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    const auto deadline = Clock::now() + timeout;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return IoResult::Success();
    if (errno != EINPROGRESS) {
        IoResult failed = SystemFailure("connect");
        CloseSocket(fd);
        return failed;
    }
    const int ready = WaitFor(fd, POLLOUT, deadline);
    if (ready == 0) {
        CloseSocket(fd);
        return TimedOutAfter(timeout);
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (ready < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        if (error != 0) errno = error;
        IoResult failed = SystemFailure("connect");
        CloseSocket(fd);
        return failed;
    }
    return IoResult::Success();
}

IoResult SendEverything(int fd, std::string_view bytes, Milliseconds timeout) {
    if (fd < 0) return IoResult::Failure(IoStatus::Failed, "not connected");
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The time limit counts from the last progress, so a large
            // document is not cut off while the server keeps taking it.
            const int ready = WaitFor(fd, POLLOUT, Clock::now() + timeout);
            if (ready == 0) return TimedOutAfter(timeout);
            if (ready < 0) return SystemFailure("poll");
            continue;
        }
        if (errno == EPIPE || errno == ECONNRESET) return IoResult::Failure(IoStatus::Closed, std::strerror(errno));
        return SystemFailure("send");
    }
    return IoResult::Success();
}

IoResult ReceiveSome(int fd, std::span<char> chunk, std::size_t& received, Clock::time_point deadline,
                     Milliseconds timeout) {
    if (fd < 0) return IoResult::Failure(IoStatus::Failed, "not connected");
    while (true) {
        const ssize_t got = ::recv(fd, chunk.data(), chunk.size(), 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return IoResult::Success();
        }
        if (got == 0) return IoResult::Failure(IoStatus::Closed, {});
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return SystemFailure("recv");
        const int ready = WaitFor(fd, POLLIN, deadline);
        if (ready == 0) return TimedOutAfter(timeout);
        if (ready < 0) return SystemFailure("poll");
    }
}

}  // namespace

PosixConnection::~PosixConnection() { Close(); }

IoResult PosixConnection::Connect(const std::string& address, std::uint16_t port, Milliseconds timeout) {
    replies_.Clear();
    return OpenSocket(control_, address, port, timeout);
}

IoResult PosixConnection::SendAll(std::string_view bytes, Milliseconds timeout) {
    return SendEverything(control_, bytes, timeout);
}

IoResult PosixConnection::ReadLine(std::string& line, Milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    return replies_.ReadLine(line, [&](std::span<char> chunk, std::size_t& received) {
        return ReceiveSome(control_, chunk, received, deadline, timeout);
    });
}

IoResult PosixConnection::OpenDataConnection(const std::string& address, std::uint16_t port, Milliseconds timeout) {
    return OpenSocket(data_, address, port, timeout);
}

IoResult PosixConnection::SendData(std::string_view bytes, Milliseconds timeout) {
    return SendEverything(data_, bytes, timeout);
}

std::size_t PosixConnection::LimitDataSendBuffer(std::size_t bytes) {
    int size = static_cast<int>(bytes);
    if (data_ < 0 || ::setsockopt(data_, SOL_SOCKET, SO_SNDBUF, &size, sizeof size) != 0) return 0;
    socklen_t length = sizeof size;
    // Linux reports (and keeps) twice what was asked, for its own bookkeeping.
    if (::getsockopt(data_, SOL_SOCKET, SO_SNDBUF, &size, &length) != 0 || size <= 0) return 0;
    return static_cast<std::size_t>(size);
}

IoResult PosixConnection::CloseDataConnection() {
    if (data_ < 0) return IoResult::Success();
    const bool shut = ::shutdown(data_, SHUT_WR) == 0 || errno == ENOTCONN;
    IoResult result = shut ? IoResult::Success() : SystemFailure("shutdown");
    CloseSocket(data_);
    return result;
}

void PosixConnection::Close() {
    CloseSocket(data_);
    CloseSocket(control_);
    replies_.Clear();
}

}  // namespace tolvane
