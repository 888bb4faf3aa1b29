#include "rasterback/win32/owner_window.h"

namespace rasterback::win32 {

namespace {

bool isVisible(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK firstVisibleOfThread(HWND hwnd, LPARAM found) {
    if (!isVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

BOOL CALLBACK firstVisibleOfProcess(HWND hwnd, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (!isVisible(hwnd) || process != GetCurrentProcessId()) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

}  // namespace

HWND findOwnerWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), firstVisibleOfThread, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    EnumWindows(firstVisibleOfProcess, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    if (HWND active = GetActiveWindow()) return active;
    return GetForegroundWindow();
}

}  // namespace rasterback::win32
