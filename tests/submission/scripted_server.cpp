#include "scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "inflate_support.h"

namespace tolvane::testing {

namespace {

int Listen(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("listen");
    }
    port = ntohs(address.sin_port);
    return fd;
}

// Waits up to 100 ms; false on time-out so the caller can check for shutdown.
bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 100) > 0;
}

}  // namespace

ScriptedServer::ScriptedServer(ScriptedBehaviour behaviour) : behaviour_(std::move(behaviour)) {
    listener_ = Listen(port_);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> ScriptedServer::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::string ScriptedServer::Document() const {
    std::lock_guard lock(mutex_);
    return document_;
}

std::string ScriptedServer::WireBytes() const {
    std::lock_guard lock(mutex_);
    return wire_;
}

void ScriptedServer::Reply(int fd, const std::string& text) {
    const std::size_t piece = behaviour_.pieceBytes == 0 ? text.size() : behaviour_.pieceBytes;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        if (at > 0) std::this_thread::sleep_for(behaviour_.pieceDelay);
        const std::string part = text.substr(at, piece);
        if (::send(fd, part.data(), part.size(), MSG_NOSIGNAL) < 0) return;
    }
}

std::string ScriptedServer::HandleUpload(int control, int listener) {
    if (listener < 0) return "425 No data connection.\r\n";
    Reply(control, "150 FILE: /tmp/doc7.ps (Opening new data connection).\r\n");
    while (!Readable(listener)) {
        if (stopping_) return {};
    }
    const int data = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (behaviour_.stallUpload) {
        while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    char chunk[65536];
    while (data >= 0) {
        if (!Readable(data)) {
            if (stopping_) break;
            continue;
        }
        const ssize_t got = ::recv(data, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        std::this_thread::sleep_for(behaviour_.uploadPause);
        std::lock_guard lock(mutex_);
        wire_.append(chunk, static_cast<std::size_t>(got));
        if (behaviour_.closeUploadAfter > 0 && wire_.size() >= behaviour_.closeUploadAfter) {
            // Reset rather than an orderly close: a link that broke.
            const linger abort{1, 0};
            ::setsockopt(data, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            ::close(data);
            return "426 Connection closed; transfer aborted.\r\n";
        }
    }
    if (data >= 0) ::close(data);
    std::this_thread::sleep_for(behaviour_.transferDelay);
    std::lock_guard lock(mutex_);
    if (!compressedMode_) {
        document_ = wire_;
    } else {
        bool complete = false;
        document_ = Inflated(wire_, complete);
        if (!complete) return "452 Decoding error: incomplete stream.\r\n";
    }
    return "226 Transfer complete (FILE: /tmp/doc7.ps).\r\n";
}

void ScriptedServer::Serve() {
    while (!Readable(listener_)) {
        if (stopping_) return;
    }
    const int control = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (control < 0) return;
    bool silent = behaviour_.silent;
    const bool multi = behaviour_.multiLineReplies;
    if (!silent) Reply(control, multi ? "220-Welcome.\r\n220-Second line\r\n220 ready.\r\n" : "220 ready.\r\n");

    int dataListener = -1;
    int job = 0;
    std::string pending;
    char chunk[4096];
    while (!stopping_) {
        if (!Readable(control)) continue;
        const ssize_t got = ::recv(control, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        pending.append(chunk, static_cast<std::size_t>(got));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            {
                std::lock_guard lock(mutex_);
                commands_.push_back(command);
            }
            if (silent) continue;
            if (!behaviour_.silentAfter.empty() && command == behaviour_.silentAfter) {
                silent = true;
                continue;
            }
            std::string reply;
            if (behaviour_.echoCommands && command.rfind("USER", 0) != 0) {
                reply = "500 '" + command + "': Syntax error.\r\n";
            } else if (command.rfind("USER", 0) == 0) {
                reply = "331 Password required.\r\n";
            } else if (command.rfind("PASS", 0) == 0) {
                reply = multi ? "230-Notice one\r\n230-230 not the end\r\n230 User logged in.\r\n"
                              : "230 User logged in.\r\n";
            } else if (command == "PASV") {
                std::uint16_t dataPort = 0;
                dataListener = Listen(dataPort);
                reply = "227 Entering passive mode (" + behaviour_.passiveAddress + "," +
                        std::to_string(dataPort / 256) + "," + std::to_string(dataPort % 256) + ")\r\n";
            } else if (command == "MODE Z" && behaviour_.refuseModeZ) {
                reply = "504 Mode Z not supported.\r\n";
            } else if (command == "MODE Z" || command == "MODE S") {
                std::lock_guard lock(mutex_);
                compressedMode_ = command == "MODE Z";
                reply = "200 Mode set.\r\n";
            } else if (command == "STOT") {
                reply = HandleUpload(control, dataListener);
            } else if (command == "JNEW") {
                ++job;
                reply =
                    "200 New job created: jobid: " + std::to_string(job) + " groupid: " + std::to_string(job) + ".\r\n";
            } else if (command == "JSUBM") {
                reply = "200 Job " + std::to_string(job) + " submitted.\r\n";
            } else if (command.rfind("JPARM", 0) == 0) {
                reply = "213 set.\r\n";
            } else {
                reply = "200 OK.\r\n";
            }
            Reply(control, reply);
        }
    }
    if (dataListener >= 0) ::close(dataListener);
    ::close(control);
}

}  // namespace tolvane::testing
