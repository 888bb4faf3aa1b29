#pragma once
// A 32-bit millisecond count (GetTickCount, which wraps every 49.7 days)
// widened to 64 bits, for systems without GetTickCount64. Each reading moves
// the stored count forward by how far the 32-bit count went on, modulo 2^32,
// which carries it across a wrap. A reading less than half the range behind
// the stored one is a thread that read the clock before another one stored a
// later value: it gets the stored value, so the result never goes back. So a
// step of 24.8 days or more between two readings is not counted; the runtime
// reads the count on every timed wait, and only differences matter to it.

#include <atomic>
#include <cstdint>

namespace tolvane {

inline std::uint64_t WidenTickCount(std::atomic<std::uint64_t>& latest, std::uint32_t now) {
    std::uint64_t seen = latest.load();
    for (;;) {
        // The first reading is taken as it is.
        const std::uint32_t ahead = now - static_cast<std::uint32_t>(seen);
        if (seen != 0 && ahead >= 0x80000000u) return seen;
        const std::uint64_t next = seen != 0 ? seen + ahead : now;
        if (latest.compare_exchange_weak(seen, next)) return next;
    }
}

}  // namespace tolvane
