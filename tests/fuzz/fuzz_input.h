#pragma once
// What every fuzz target shares: carving one fuzzer input into the pieces a
// parser takes (texts, counts, chunk sizes), and a check that stops the run
// with a message when a parser breaks its own promise. A broken promise is a
// crash to libFuzzer, so it keeps the input that showed it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace tolvane::fuzz {

// Stops the run when a promise does not hold; NDEBUG does not turn it off.
inline void Require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return bytes_.empty(); }

    // The next byte, 0 once the input is used up.
    std::uint8_t Byte() {
        if (bytes_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return byte;
    }

    // The bytes up to the next NUL (which is dropped) or the end: one text
    // field, so a seed reads as its fields separated by NUL bytes.
    std::string_view Field() {
        const std::size_t end = bytes_.find('\0');
        const std::string_view field = bytes_.substr(0, end);
        bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
        return field;
    }

    // At most `count` of the next bytes.
    std::string_view Take(std::size_t count) {
        const std::string_view taken = bytes_.substr(0, count);
        bytes_.remove_prefix(taken.size());
        return taken;
    }

    std::string_view Rest() { return Take(bytes_.size()); }

private:
    std::string_view bytes_;
};

// UTF-16 text from bytes as the pipe and the registry carry it: two bytes per
// unit, little-endian; an odd last byte is dropped.
inline std::u16string Utf16FromBytes(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                             (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    }
    return text;
}

// ANSI bytes widened unit by unit, the way the monitor's Latin-1 code page does.
inline std::u16string WidenBytes(std::string_view bytes) {
    std::u16string text;
    for (char c : bytes) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace tolvane::fuzz
