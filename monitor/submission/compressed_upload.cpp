// SendCompressedDocument: the compressing thread and the sending thread around
// a queue of at most a few compressed blocks.
#include "monitor/submission/upload_stream.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "monitor/submission/compression_level.h"
#include "monitor/submission/deflate_stream.h"

namespace tolvane {

namespace {

// A quarter of a megabyte: small enough for the level to follow the link
// closely, large enough that zlib's block and level changes cost nothing.
constexpr std::size_t kCompressBlockBytes = 256 * 1024;
// Queued compressed blocks: half a megabyte of memory at most, enough for the
// sender never to wait while compression keeps up, and few enough that a new
// level takes effect soon.
constexpr std::size_t kQueuedBlocks = 2;
// The kernel's send buffer during a compressed upload: large enough for a
// WAN's round trip (a quarter megabyte per round trip is 50 Mbit/s at 40 ms,
// and every byte carries about two of the document), small enough that the
// link's pace shows within a few blocks instead of after megabytes.
constexpr std::size_t kSendBufferBytes = 256 * 1024;
// The part of a stored block compressed aside to see whether the data shrinks.
constexpr std::size_t kSampleBytes = 64 * 1024;
// The link's pace is taken over the latest sends.
constexpr std::size_t kPaceWindow = 8;

using Failure = UploadStreamResult::Failure;
using Seconds = std::chrono::duration<double>;

// How fast the data connection took the latest blocks. Until the kernel's
// buffer has been filled, sends return at memory speed whatever the link, so
// only the sends after that count; before them the pace is not known.
class LinkPace {
public:
    explicit LinkPace(std::uint64_t bufferBytes) : bufferBytes_(bufferBytes) {}
    void Sent(std::size_t bytes, double seconds) {
        const bool bufferFilled = total_ >= bufferBytes_;
        total_ += bytes;
        if (!bufferFilled) return;
        recent_[next_] = {static_cast<double>(bytes), seconds};
        next_ = (next_ + 1) % kPaceWindow;
        ++samples_;
    }
    // The first send after the buffer filled may still find room (the link
    // took some meanwhile): the pace counts from the second.
    double BytesPerSecond() const {
        if (samples_ < 2) return 0;
        double bytes = 0, seconds = 0;
        for (const Sample& sample : recent_) {
            bytes += sample.bytes;
            seconds += sample.seconds;
        }
        return seconds > 0 ? bytes / seconds : 0;
    }

private:
    struct Sample {
        double bytes = 0;
        double seconds = 0;
    };
    std::uint64_t bufferBytes_;
    std::uint64_t total_ = 0;
    Sample recent_[kPaceWindow];
    std::size_t next_ = 0;
    std::size_t samples_ = 0;
};

class CompressedUpload {
public:
    CompressedUpload(DocumentReader& document, ServerConnection& connection, Milliseconds sendTimeout)
        : document_(document),
          connection_(connection),
          sendTimeout_(sendTimeout),
          deflate_(control_.Level()),
          sampler_(1),
          pace_(std::max(connection.LimitDataSendBuffer(kSendBufferBytes), kSendBufferBytes)) {}

    UploadStreamResult Run();

private:
    // Reads, compresses and queues one block, then sets the level for the
    // next. False once the document is finished, failed, or the sender stopped.
    bool CompressOneBlock();
    bool CompressOneBlockOrFail() noexcept;
    // Compresses the start of the block aside, for the level choice only.
    void Sample();
    // Waits for room in the queue; false when the sender stopped meanwhile.
    bool Queue(std::string&& chunk);
    void Finish(Failure failure, std::string detail);
    // The next compressed block, empty with `ended` once there is none; false
    // when no block came within the time limit.
    bool Take(std::string& chunk, bool& ended);
    void Stop();

    DocumentReader& document_;
    ServerConnection& connection_;
    const Milliseconds sendTimeout_;
    CompressionLevelControl control_;
    DeflateStream deflate_;
    DeflateStream sampler_;
    std::string sample_;
    std::vector<char> block_;  // compressing side only
    std::string pending_;      // output not yet queued (compressing side only)
    std::uint64_t documentBytes_ = 0;
    bool threaded_ = false;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    bool finished_ = false;  // no more blocks will come
    bool stopped_ = false;   // the sender gave up
    LinkPace pace_;
    Failure failure_ = Failure::kNone;
    std::string detail_;
};

bool CompressedUpload::Queue(std::string&& chunk) {
    std::unique_lock lock(mutex_);
    while (queue_.size() >= kQueuedBlocks && !stopped_) {
        changed_.wait(lock);  // the sender takes a block or stops, within its own limits
    }
    if (stopped_) return false;
    queue_.push_back(std::move(chunk));
    changed_.notify_all();
    return true;
}

void CompressedUpload::Finish(Failure failure, std::string detail) {
    std::lock_guard lock(mutex_);
    finished_ = true;
    failure_ = failure;
    detail_ = std::move(detail);
    changed_.notify_all();
}

void CompressedUpload::Sample() {
    const std::size_t bytes = std::min(block_.size(), kSampleBytes);
    sample_.clear();
    const auto start = std::chrono::steady_clock::now();
    if (!sampler_.Reset() || !sampler_.Compress({block_.data(), bytes}, true, sample_)) return;
    control_.Sampled(bytes, sample_.size(), Seconds(std::chrono::steady_clock::now() - start).count());
}

bool CompressedUpload::CompressOneBlock() {
    std::string error;
    if (!document_.ReadBlock(block_, kCompressBlockBytes, error)) {
        Finish(Failure::kRead, error);
        return false;
    }
    const bool last = block_.empty();
    if (!last && control_.WantsSample()) Sample();
    const std::size_t before = pending_.size();
    const auto start = std::chrono::steady_clock::now();
    if (!deflate_.Compress(block_, last, pending_)) {
        Finish(Failure::kCompress, deflate_.Error());
        return false;
    }
    control_.Compressed(block_.size(), pending_.size() - before,
                        Seconds(std::chrono::steady_clock::now() - start).count());
    documentBytes_ += block_.size();
    if (!pending_.empty()) {
        if (!Queue(std::move(pending_))) return false;
        pending_.clear();
    }
    if (last) {
        Finish(Failure::kNone, {});
        return false;
    }
    double linkPace = 0;
    {
        std::lock_guard lock(mutex_);
        linkPace = pace_.BytesPerSecond();
    }
    const int level = control_.Level();
    if (control_.Choose(linkPace) != level && !deflate_.SetLevel(control_.Level(), pending_)) {
        Finish(Failure::kCompress, deflate_.Error());
        return false;
    }
    return true;
}

bool CompressedUpload::CompressOneBlockOrFail() noexcept {
    try {
        return CompressOneBlock();
    } catch (const std::exception&) {
        // Only memory can run out here: the upload fails, the document stays.
        Finish(Failure::kCompress, "out of memory");
        return false;
    }
}

bool CompressedUpload::Take(std::string& chunk, bool& ended) {
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + sendTimeout_;
    while (queue_.empty() && !finished_) {
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && queue_.empty() && !finished_) {
            return false;
        }
    }
    ended = failure_ != Failure::kNone || queue_.empty();
    if (ended) return true;
    chunk = std::move(queue_.front());
    queue_.pop_front();
    changed_.notify_all();
    return true;
}

void CompressedUpload::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

UploadStreamResult CompressedUpload::Run() {
    UploadStreamResult result;
    if (!deflate_.Ready() || !sampler_.Ready()) {
        result.failure = Failure::kCompress;
        result.detail = deflate_.Ready() ? sampler_.Error() : deflate_.Error();
        return result;
    }
    std::thread compressor;
    try {
        compressor = std::thread([this] {
            while (CompressOneBlockOrFail()) {}
        });
        threaded_ = true;
    } catch (const std::system_error&) {
        threaded_ = false;  // no thread to be had: compress between sends
    }

    while (true) {
        if (!threaded_) {
            bool idle = true;
            while (idle) {
                {
                    std::lock_guard lock(mutex_);
                    idle = queue_.empty() && !finished_;
                }
                if (idle && !CompressOneBlockOrFail()) break;
            }
        }
        std::string chunk;
        bool ended = false;
        if (!Take(chunk, ended)) {
            result.failure = Failure::kCompress;
            result.detail = "no compressed data within " + std::to_string(sendTimeout_.count()) + " ms";
            break;
        }
        if (ended) {
            std::lock_guard lock(mutex_);
            result.failure = failure_;
            result.detail = detail_;
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        const IoResult sent = connection_.SendData(chunk, sendTimeout_);
        if (!sent.Ok()) {
            result.failure = Failure::kSend;
            result.detail = DescribeIoResult(sent);
            break;
        }
        result.sentBytes += chunk.size();
        std::lock_guard lock(mutex_);
        pace_.Sent(chunk.size(), Seconds(std::chrono::steady_clock::now() - start).count());
    }
    Stop();
    if (compressor.joinable()) compressor.join();
    result.documentBytes = documentBytes_;
    return result;
}

}  // namespace

UploadStreamResult SendCompressedDocument(DocumentReader& document, ServerConnection& connection,
                                          Milliseconds sendTimeout) {
    return CompressedUpload(document, connection, sendTimeout).Run();
}

}  // namespace tolvane
