#include "common/entry_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace tolvane {
namespace {

TEST(EntryGuard, ExceptionsBecomeTheSystemsFailureConvention) {
    std::vector<std::uint32_t> errors;
    auto record = [&errors](std::uint32_t error) { errors.push_back(error); };

    EXPECT_EQ(GuardedEntry(0, record, [] { return 7; }), 7);
    EXPECT_TRUE(errors.empty()) << "a normal return sets no error";

    EXPECT_EQ(GuardedEntry(0, record, []() -> int { throw std::bad_alloc(); }), 0);
    EXPECT_EQ(GuardedEntry(0, record, []() -> int { throw std::bad_array_new_length(); }), 0);
    EXPECT_EQ(GuardedEntry(0, record, []() -> int { throw std::runtime_error("broken"); }), 0);
    EXPECT_EQ(GuardedEntry(0, record, []() -> int { throw 42; }), 0);
    EXPECT_EQ(errors, (std::vector<std::uint32_t>{win_error::kNotEnoughMemory, win_error::kNotEnoughMemory,
                                                  win_error::kInternalError, win_error::kInternalError}));

    EXPECT_EQ(GuardedStatus([]() -> std::uint32_t { return 0; }), 0u);
    EXPECT_EQ(GuardedStatus([]() -> std::uint32_t { throw std::bad_alloc(); }), win_error::kNotEnoughMemory);
}

}  // namespace
}  // namespace tolvane
