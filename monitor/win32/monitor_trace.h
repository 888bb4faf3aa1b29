#pragma once
// The monitor reports each spooler call on entry, with its arguments (buffers
// by size only: one may hold a password), and each step of a document to the
// debugger output (OutputDebugString), where an administrator's debug viewer,
// or a test under Wine with the "debugstr" channel on, can follow a fax job
// without a desktop.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace tolvane {

// A text the spooler handed over, for a trace line: "(none)" when it is null.
inline const wchar_t* TraceText(const wchar_t* text) { return text != nullptr ? text : L"(none)"; }

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
