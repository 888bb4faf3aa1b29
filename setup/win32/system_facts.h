#pragma once
// What the setup tool finds out about the machine and itself when it starts:
// the Windows version, 32 or 64 bits, administrator rights, the program's own
// file and folder, and its private folder for the files it extracts.

#include <optional>
#include <string>

#include "setup/os_kind.h"

namespace tolvane {

// The true version: RtlGetVersion for NT (the version GetVersionEx reports to a
// program without a manifest stops at Windows 8), GetVersionEx otherwise.
OsVersion QueryOsVersion();

// 32 on x86 Windows, 64 on any other processor architecture of the native
// system, -1 when the version query fails.
int DetectBitness();

// Whether the process's token is a member of the Administrators group. On
// Windows with user account control an administrator who has not elevated
// the program carries that group for denial only and is not one here.
bool IsUserAdmin();

// The running program's full path and its folder (no trailing backslash).
std::u16string ProgramPath();
std::u16string ProgramFolder();

// SessionUserName and ProcessUserName: common/win32/account_names.h.

// A new, empty folder of this run under the user's temporary folder; empty
// when none can be made.
std::u16string CreateWorkFolder();

}  // namespace tolvane
