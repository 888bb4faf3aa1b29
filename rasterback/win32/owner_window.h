#pragma once
#include <windows.h>

namespace tolvane {

// The window the save dialog belongs to: a visible window of the calling
// thread, else a visible top-level window of this process, else the active or
// the foreground window (possibly none).
HWND FindOwnerWindow();

}  // namespace tolvane
