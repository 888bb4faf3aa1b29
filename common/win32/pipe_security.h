#pragma once
// The security of a conversation's pipe: the local system may do everything,
// the user the calling thread acts for (the printing user; the process's own
// user when the thread acts for nobody) may read and write, and nobody else
// anything. Writing includes creating an instance of the pipe (a generic write
// asks for it, so Korrim.exe's open would fail without it), but the host's
// pipe allows one instance only and is made first: the name stays the host's.

#include <windows.h>

#include <vector>

namespace tolvane {

inline constexpr DWORD kConversationUserAccess = FILE_GENERIC_READ | FILE_GENERIC_WRITE;

class ActingUserOnlySecurity {
public:
    ActingUserOnlySecurity();
    ~ActingUserOnlySecurity();
    ActingUserOnlySecurity(const ActingUserOnlySecurity&) = delete;
    ActingUserOnlySecurity& operator=(const ActingUserOnlySecurity&) = delete;
    // For CreateNamedPipeW; nothing when the descriptor could not be built
    // (the caller must then not create the pipe at all).
    SECURITY_ATTRIBUTES* Attributes() { return ready_ ? &attributes_ : nullptr; }

private:
    std::vector<BYTE> user_;
    std::vector<BYTE> acl_;
    PSID system_ = nullptr;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ready_ = false;
};

}  // namespace tolvane
