#pragma once
// A small Win32 UI driver for the Wine tests: finds dialog windows (of any
// process on the desktop) and works them like a person, with real keystrokes
// through SendInput and button clicks.

#include <windows.h>

#include <string>

namespace uitest {

// The top-level dialog with this caption, waiting up to `timeoutMs`; null when
// it did not appear.
HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs = 10000);
// Waits until the window is gone; false on time-out.
bool WaitUntilClosed(HWND window, DWORD timeoutMs = 10000);

std::wstring ControlText(HWND dialog, int id);
std::wstring WindowText(HWND window);
// Waits until a control shows the text; false on time-out.
bool WaitForText(HWND dialog, int id, const std::wstring& text, DWORD timeoutMs = 5000);

// Keystrokes to the foreground window (the dialog is brought there first).
void Focus(HWND dialog);
void TypeText(const std::wstring& text);
void PressKey(WORD virtualKey);
void PressShiftTab();
// Moves the focus to the field, types as a person does and waits until the
// field shows the text; false when it never did (keystrokes lost to a dialog
// that was not ready for them).
bool TypeInto(HWND dialog, int id, const std::wstring& text);

// Clicks a button without waiting for what the click opens.
void Click(HWND dialog, int id);

// One check of a scenario: prints "  ok   WHAT" or "  FAIL WHAT" and counts
// the failures, which CheckFailures answers.
void Check(bool condition, const std::string& what);
int CheckFailures();

// A window's text for a check line (each UTF-16 unit cut to its low byte:
// the texts the checks print are ASCII).
std::string Narrow(const std::wstring& text);

}  // namespace uitest
