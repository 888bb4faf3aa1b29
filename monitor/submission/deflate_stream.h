#pragma once
// One zlib stream ("MODE Z" carries the zlib format: header, deflate data,
// Adler-32), fed in blocks, its level changeable between blocks.

#include <span>
#include <string>

struct z_stream_s;

namespace tolvane {

class DeflateStream {
public:
    explicit DeflateStream(int level);
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    // False when zlib could not start (no memory); every call then fails.
    bool Ready() const { return ready_; }
    // Appends the output for input to out; the last call (finish) ends the
    // stream. False on a zlib error, described by Error().
    bool Compress(std::span<const char> input, bool finish, std::string& out);
    // Changes the level for what follows; the data already taken is finished
    // at the old level and its output appended to out.
    bool SetLevel(int level, std::string& out);
    // Starts a new stream at the same level, keeping zlib's memory.
    bool Reset();
    const std::string& Error() const { return error_; }

private:
    bool Fail(const char* what, int code);

    z_stream_s* stream_;
    bool ready_ = false;
    std::string error_;
};

}  // namespace tolvane
