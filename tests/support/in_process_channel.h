#pragma once
// Two connected message-channel ends inside one process, for tests of either
// side of the conversation. A message stays whole until read; a read of fewer
// bytes than the message leaves the rest for the next read, as a byte-stream
// pipe would. A read waits for a message and fails once the other end is
// closed and nothing is left; a write fails once the other end is closed.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "common/message_channel.h"

namespace tolvane {

class InProcessChannelPair {
public:
    InProcessChannelPair();

    MessageChannel& host();
    MessageChannel& client();

    // Closing an end makes the other end's writes fail and its reads fail once
    // its queue is empty.
    void CloseHost();
    void CloseClient();

    // Messages written towards an end and not yet read.
    std::size_t PendingForHost() const;
    std::size_t PendingForClient() const;

private:
    struct Shared {
        mutable std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::vector<std::uint8_t>> toHost, toClient;
        bool hostClosed = false, clientClosed = false;
    };

    class End : public MessageChannel {
    public:
        End(Shared& shared, bool isHost) : shared_(shared), isHost_(isHost) {}
        bool WriteMessage(const std::vector<std::uint8_t>& bytes) override;
        bool ReadMessage(std::vector<std::uint8_t>& bytes, std::size_t maxBytes) override;

    private:
        Shared& shared_;
        bool isHost_;
    };

    std::unique_ptr<Shared> shared_;
    End host_, client_;
};

}  // namespace tolvane
