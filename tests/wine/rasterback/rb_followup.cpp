// Stands in for the follow-up program and the send program: appends how it was
// started to "<its own path without .exe>.log": the parameter text after the
// program name, the show state it was asked for, and the arguments as the C
// runtime split that text (their count with the program name, the first one).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main() {
    const char* line = GetCommandLineA();
    // Skip the program name, quoted or not, and the blanks after it.
    if (*line == '"') {
        const char* close = std::strchr(line + 1, '"');
        line = close ? close + 1 : line + std::strlen(line);
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string log = self;
    if (log.size() > 4) log.resize(log.size() - 4);
    log += ".log";
    // Two programs may log at the same moment: append whole lines atomically,
    // and wait while the other one holds the file.
    char entry[4096];
    int length = std::snprintf(entry, sizeof entry, "args=[%s] show=%d argc=%d arg1=[%s]\n", line, show, __argc,
                               __argc > 1 ? __argv[1] : "");
    if (length < 0 || length >= static_cast<int>(sizeof entry)) length = static_cast<int>(sizeof entry) - 1;
    for (int tries = 0; tries < 100; ++tries) {
        HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL done = WriteFile(file, entry, static_cast<DWORD>(length), &written, nullptr);
            CloseHandle(file);
            return done ? 0 : 1;
        }
        Sleep(50);
    }
    return 1;
}
