#pragma once
// How the monitor starts Korrim.exe: from the real system folder of this
// Windows (see monitor/korrim_path.h), as the user the spooler thread acts for,
// with the spooler's privilege to assign a primary token enabled.

#include <windows.h>

#include <optional>

#include "common/win32/pipe.h"
#include "monitor/print_path/korrim_path.h"

namespace tolvane {

#ifdef _WIN64
inline constexpr MonitorBitness kThisBuild = MonitorBitness::k64;
#else
inline constexpr MonitorBitness kThisBuild = MonitorBitness::k32;
#endif

// The launch of Korrim.exe for this build; nothing when the system folder
// cannot be read.
std::optional<ClientLaunch> DialogProgramLaunch();

// Whether the Korrim.exe at `path` takes part in a conversation (kNoticeRole,
// kPipeRole: the "Roles" entry of its version resource names it); false for an
// older one or an unreadable file.
bool DialogProgramTakesRole(const std::wstring& path, std::u16string_view role);

// The launch needs the thread to act for a user (the spooler impersonates the
// printing user on the threads it calls the port on). A thread that does not
// impersonate is made to act for the process's own user, unless that is the
// local system account: the dialog must never run as the system on a
// user's desktop. Reverts on destruction.
class LaunchIdentity {
public:
    LaunchIdentity();
    ~LaunchIdentity();
    LaunchIdentity(const LaunchIdentity&) = delete;
    LaunchIdentity& operator=(const LaunchIdentity&) = delete;

private:
    bool impersonating_ = false;
};

}  // namespace tolvane
