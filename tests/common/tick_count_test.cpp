#include "common/tick_count.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tolvane {
namespace {

TEST(TickCount, CountsTheWrapsOfThe32BitCount) {
    std::atomic<std::uint64_t> latest{0};
    // A machine up for 40 days at the first reading.
    EXPECT_EQ(WidenTickCount(latest, 0xCE000000u), 0xCE000000u);
    EXPECT_EQ(WidenTickCount(latest, 0xFFFFFF00u), 0xFFFFFF00u);
    // Past 2^32 ms the count starts again from 0: the high half counts it.
    EXPECT_EQ(WidenTickCount(latest, 0x20u), 0x100000020u);
    EXPECT_EQ(WidenTickCount(latest, 0x70000000u), 0x170000000u);
    EXPECT_EQ(WidenTickCount(latest, 0xE0000000u), 0x1E0000000u);
    EXPECT_EQ(WidenTickCount(latest, 0xFFFFFFF0u), 0x1FFFFFFF0u);
    EXPECT_EQ(WidenTickCount(latest, 5), 0x200000005u);
}

TEST(TickCount, ALateReadingNeverGoesBackNorCountsAsAWrap) {
    std::atomic<std::uint64_t> latest{0};
    WidenTickCount(latest, 50000);
    // A thread that read the clock a little earlier and stores later.
    EXPECT_EQ(WidenTickCount(latest, 49990), 50000u);
    EXPECT_EQ(WidenTickCount(latest, 50010), 50010u);
    // Also across a wrap: a reading from just before it, stored after it, is
    // neither a step back nor a step of another 49.7 days.
    WidenTickCount(latest, 0x7FFF0000u);
    WidenTickCount(latest, 0xF0000000u);
    WidenTickCount(latest, 0xFFFFFFFEu);
    EXPECT_EQ(WidenTickCount(latest, 3), 0x100000003u);
    EXPECT_EQ(WidenTickCount(latest, 0xFFFFFFFFu), 0x100000003u);
    EXPECT_EQ(WidenTickCount(latest, 4), 0x100000004u);
}

TEST(TickCount, ThreadsReadingTogetherAcrossAWrapSeeOneCount) {
    std::atomic<std::uint64_t> latest{0xFFFF0000u};
    constexpr std::uint32_t kSteps = 0x20000 / 7;
    std::vector<std::thread> threads;
    for (std::uint32_t t = 0; t < 4; ++t) {
        threads.emplace_back([&latest, t] {
            std::uint64_t previous = 0;
            // Every thread walks the 32-bit count across the wrap in steps of
            // 7 ms, each from its own start: the threads' readings interleave.
            for (std::uint32_t step = 0; step < kSteps; ++step) {
                const std::uint64_t wide = WidenTickCount(latest, 0xFFFF0000u + t + 7 * step);
                EXPECT_GE(wide, previous);
                previous = wide;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    // One wrap in all, and the count where the latest reading (thread 3's
    // last, 0xFFFF0003 + 7 * 18723 = 2^32 + 0xFFF8) left it.
    EXPECT_EQ(latest.load(), 0x10000FFF8u);
}

}  // namespace
}  // namespace tolvane
