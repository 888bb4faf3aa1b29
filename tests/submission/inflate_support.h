#pragma once
// Reads back a zlib stream as the server does, for the tests of "MODE Z".

#include <zlib.h>

#include <string>

namespace tolvane::testing {

// The bytes the stream holds; `complete` says whether it ended properly
// (its end marker and check sum arrived).
inline std::string Inflated(const std::string& stream, bool& complete) {
    z_stream z{};
    complete = false;
    if (inflateInit(&z) != Z_OK) return {};
    std::string out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int code = Z_OK;
    while (code == Z_OK) {
        char buffer[65536];
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        code = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    complete = code == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return out;
}

}  // namespace tolvane::testing
