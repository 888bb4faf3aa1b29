#pragma once
// Replies of the fax server's client protocol: lines ended by CR LF that may
// arrive split over many reads or several in one read, and multi-line replies
// ("213-first", ..., "213 last"). Everything the server sends is parsed here,
// with fixed limits, so a hostile or broken server cannot make the monitor
// buffer without end or lose track of which reply belongs to which command.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/submission/server_connection.h"

namespace tolvane {

// Longest reply line accepted; the server's own lines are far shorter.
inline constexpr std::size_t kMaxReplyLineBytes = 64 * 1024;
// Most lines one multi-line reply may have (a full JPARM listing has ~80).
inline constexpr std::size_t kMaxReplyLines = 4096;

// One receive of the platform's socket: waits (within the caller's time
// limit) for the next bytes and puts them at the start of chunk, setting
// received to their count. A closed connection, a failure or the end of the
// time limit is the result instead.
using ReceiveBytes = std::function<IoResult(std::span<char> chunk, std::size_t& received)>;

// Collects received bytes and hands out whole lines. Each connection
// implementation owns one for its control connection.
class ReplyLineBuffer {
public:
    void Append(std::string_view bytes);
    // Moves the next whole line (without its LF and a CR before it) into line.
    // False when no line end has arrived yet.
    bool TakeLine(std::string& line);
    // True when the bytes waiting for a line end exceed kMaxReplyLineBytes.
    bool Overlong() const;
    void Clear();
    // The next whole line, receiving through receive until its end has come;
    // fails on a line longer than kMaxReplyLineBytes or when receive fails.
    IoResult ReadLine(std::string& line, const ReceiveBytes& receive);

private:
    std::string pending_;
    std::size_t scanned_ = 0;  // bytes of pending_ known to hold no LF
};

struct ServerReply {
    int code = 0;                    // three-digit reply code; 0 if the server sent none
    std::vector<std::string> lines;  // every line as received, without CR LF

    bool Positive() const { return code >= 100 && code < 400; }  // 1xx, 2xx, 3xx
    bool Completed() const { return code >= 200 && code < 300; }
    bool Preliminary() const { return code >= 100 && code < 200; }
    // The lines joined with CR LF, each line ended by CR LF, as the server sent them.
    std::string Text() const;
    // The lines joined with a blank, for messages that quote the server in one line.
    std::string OneLine() const;
};

// The reply code of a line: its three leading digits, or 0.
int ReplyCodeOf(std::string_view line);

// Reads one complete reply. The timeout applies to each line.
IoResult ReadReply(ServerConnection& connection, ServerReply& reply, Milliseconds timeout);

}  // namespace tolvane
