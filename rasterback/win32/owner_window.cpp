#include "rasterback/win32/owner_window.h"

namespace tolvane {

namespace {

bool IsVisible(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK FirstVisibleOfThread(HWND hwnd, LPARAM found) {
    if (!IsVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

BOOL CALLBACK FirstVisibleOfProcess(HWND hwnd, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (!IsVisible(hwnd) || process != GetCurrentProcessId()) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

}  // namespace

HWND FindOwnerWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FirstVisibleOfThread, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    EnumWindows(FirstVisibleOfProcess, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    if (HWND active = GetActiveWindow()) return active;
    return GetForegroundWindow();
}

}  // namespace tolvane
