#pragma once
// One end of a message channel between the port monitor (host) and Korrim.exe
// (client). One message is one write, and is taken by exactly one read: the
// named pipe keeps message boundaries only because neither end writes before the
// other has read the previous message. The Windows named pipe (common/win32/pipe.h)
// is the product's channel; InProcessChannelPair (in_process_channel.h) is the
// tests' one.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvane {

class MessageChannel {
public:
    virtual ~MessageChannel() = default;

    // Sends one message; false when the peer is gone or the write failed.
    virtual bool WriteMessage(const std::vector<std::uint8_t>& bytes) = 0;

    // Takes one message of at most maxBytes bytes into `bytes`; false when the
    // peer is gone or the read failed (then `bytes` is left as it was).
    virtual bool ReadMessage(std::vector<std::uint8_t>& bytes, std::size_t maxBytes) = 0;
};

}  // namespace tolvane
