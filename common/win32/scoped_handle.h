#pragma once
// A kernel handle closed when it goes out of scope, filled by the call that
// opens it (through Out()).

#include <windows.h>

namespace tolvane {

class ScopedHandle {
public:
    ScopedHandle() = default;
    ~ScopedHandle() {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE* Out() { return &handle_; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace tolvane
