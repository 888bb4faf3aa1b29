#pragma once
// The two accounts a program of the suite tells apart: the user the process
// runs as, and the user of the terminal session it runs in (they differ when
// an administrator's program runs in another user's session).

#include <windows.h>

#include <optional>
#include <string>

namespace tolvane {

// The user name of the terminal session the program runs in, asked of the
// terminal services (looked up at run time); nothing when they cannot tell.
std::optional<std::u16string> SessionUserName();

// The name of the user the process runs as; empty when unknown.
std::u16string ProcessUserName();

}  // namespace tolvane
