#include "monitor/submission/deflate_stream.h"

#include <zlib.h>

#include <new>

namespace tolvane {

namespace {

constexpr std::size_t kOutputStep = 64 * 1024;

// Gives the stream the free room at the end of out (growing it first).
void OfferRoom(z_stream& stream, std::string& out, std::size_t& used) {
    used = out.size();
    out.resize(used + kOutputStep);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + used);
    stream.avail_out = static_cast<uInt>(kOutputStep);
}

void TakeOutput(const z_stream& stream, std::string& out, std::size_t used) {
    out.resize(used + kOutputStep - stream.avail_out);
}

}  // namespace

DeflateStream::DeflateStream(int level) : stream_(new (std::nothrow) z_stream{}) {
    if (stream_ == nullptr) {
        error_ = "out of memory";
        return;
    }
    const int code = deflateInit(stream_, level);
    ready_ = code == Z_OK;
    if (!ready_) Fail("cannot start compression", code);
}

DeflateStream::~DeflateStream() {
    if (ready_) deflateEnd(stream_);
    delete stream_;
}

bool DeflateStream::Fail(const char* what, int code) {
    error_ = std::string(what) + " (zlib " + std::to_string(code) +
             (stream_ != nullptr && stream_->msg != nullptr ? std::string(": ") + stream_->msg : std::string()) + ")";
    return false;
}

bool DeflateStream::Compress(std::span<const char> input, bool finish, std::string& out) {
    if (!ready_) return false;
    stream_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream_->avail_in = static_cast<uInt>(input.size());
    const int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    while (true) {
        std::size_t used = 0;
        OfferRoom(*stream_, out, used);
        const int code = deflate(stream_, flush);
        TakeOutput(*stream_, out, used);
        if (code == Z_STREAM_END) return true;
        if (code != Z_OK && code != Z_BUF_ERROR) return Fail("compression failed", code);
        // More output may wait while the room was used up; with room left,
        // deflate has taken all the input.
        if (stream_->avail_out == 0) continue;
        if (!finish) return true;
        if (code == Z_BUF_ERROR) return Fail("compression cannot finish", code);
    }
}

bool DeflateStream::Reset() {
    if (!ready_) return false;
    const int code = deflateReset(stream_);
    return code == Z_OK || Fail("cannot restart compression", code);
}

bool DeflateStream::SetLevel(int level, std::string& out) {
    if (!ready_) return false;
    stream_->next_in = nullptr;
    stream_->avail_in = 0;
    // The old level's pending data is at most a block and the window: a few
    // rounds of room are plenty, and the bound keeps a confused stream from
    // looping.
    for (int round = 0; round < 256; ++round) {
        std::size_t used = 0;
        OfferRoom(*stream_, out, used);
        // Finishing the old level's data needs room for it; zlib says so
        // with Z_BUF_ERROR, and the call is repeated with more.
        const int code = deflateParams(stream_, level, Z_DEFAULT_STRATEGY);
        TakeOutput(*stream_, out, used);
        if (code == Z_OK) return true;
        if (code != Z_BUF_ERROR) return Fail("cannot change the compression level", code);
    }
    return Fail("cannot change the compression level", Z_BUF_ERROR);
}

}  // namespace tolvane
