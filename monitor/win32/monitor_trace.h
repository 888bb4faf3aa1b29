#pragma once
// The print path reports each step of a document to the debugger output
// (OutputDebugString), where an administrator's debug viewer, or a test under
// Wine with the "debugstr" channel on, can follow a fax job without a desktop.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace tolvane {

template <typename... Args>
void TraceStep(const wchar_t* format, Args... args) {
    wchar_t text[1400];
    std::swprintf(text, sizeof text / sizeof text[0], format, args...);
    wchar_t line[1500];
    std::swprintf(line, sizeof line / sizeof line[0], L"Tolvane: %ls\n", text);
    // The narrow form: debug viewers take both, and Wine's "debugstr"
    // channel shows only this one.
    char narrow[3 * sizeof line / sizeof line[0]];
    if (WideCharToMultiByte(CP_ACP, 0, line, -1, narrow, sizeof narrow, nullptr, nullptr) > 0)
        OutputDebugStringA(narrow);
}

}  // namespace tolvane
