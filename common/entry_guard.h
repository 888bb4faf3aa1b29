#pragma once
// No C++ exception may leave a function the system calls: in the spooler one
// would end the whole print service. Every entry point runs its body through
// one of these, which turn an exception into the system's failure convention.

#include <cstdint>
#include <new>

#include "common/key_store.h"

namespace tolvane {

// The Windows error an escaping exception stands for: ERROR_NOT_ENOUGH_MEMORY
// for a failed allocation, ERROR_INTERNAL_ERROR for anything else.
inline std::uint32_t ErrorOfCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return win_error::kNotEnoughMemory;
    } catch (...) {
        return win_error::kInternalError;
    }
}

// Answers what `body` answers; when it throws, reports the exception's error
// through `setError` (SetLastError) and answers `failed`.
template <typename Result, typename SetError, typename Body>
Result GuardedEntry(Result failed, SetError&& setError, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        setError(ErrorOfCurrentException());
    }
    return failed;
}

// For entry points that answer a status code themselves: the exception's
// error is the answer.
template <typename Body>
std::uint32_t GuardedStatus(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return ErrorOfCurrentException();
    }
}

}  // namespace tolvane
