#include "tests/support/in_process_channel.h"

#include <algorithm>

namespace tolvane {

InProcessChannelPair::InProcessChannelPair()
    : shared_(std::make_unique<Shared>()), host_(*shared_, true), client_(*shared_, false) {}

MessageChannel& InProcessChannelPair::host() { return host_; }
MessageChannel& InProcessChannelPair::client() { return client_; }

void InProcessChannelPair::CloseHost() {
    std::lock_guard lock(shared_->mutex);
    shared_->hostClosed = true;
    shared_->changed.notify_all();
}

void InProcessChannelPair::CloseClient() {
    std::lock_guard lock(shared_->mutex);
    shared_->clientClosed = true;
    shared_->changed.notify_all();
}

std::size_t InProcessChannelPair::PendingForHost() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->toHost.size();
}

std::size_t InProcessChannelPair::PendingForClient() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->toClient.size();
}

bool InProcessChannelPair::End::WriteMessage(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(shared_.mutex);
    const bool selfClosed = isHost_ ? shared_.hostClosed : shared_.clientClosed;
    const bool peerClosed = isHost_ ? shared_.clientClosed : shared_.hostClosed;
    if (selfClosed || peerClosed) return false;
    (isHost_ ? shared_.toClient : shared_.toHost).push_back(bytes);
    shared_.changed.notify_all();
    return true;
}

bool InProcessChannelPair::End::ReadMessage(std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
    std::unique_lock lock(shared_.mutex);
    auto& inbox = isHost_ ? shared_.toHost : shared_.toClient;
    const bool& selfClosed = isHost_ ? shared_.hostClosed : shared_.clientClosed;
    const bool& peerClosed = isHost_ ? shared_.clientClosed : shared_.hostClosed;
    shared_.changed.wait(lock, [&] { return !inbox.empty() || peerClosed || selfClosed; });
    if (inbox.empty() || selfClosed) return false;
    auto& front = inbox.front();
    const std::size_t taken = std::min(maxBytes, front.size());
    bytes.assign(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(taken));
    if (taken == front.size()) {
        inbox.pop_front();
    } else {
        front.erase(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(taken));
    }
    return true;
}

}  // namespace tolvane
