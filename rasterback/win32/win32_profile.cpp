#include "rasterback/win32/win32_profile.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "rasterback/backend_settings.h"

namespace tolvane {

std::string SettingsFile() {
    std::optional<std::string> windir;
    // The environment as it is now (not the C runtime's copy from start-up).
    const DWORD needed = GetEnvironmentVariableA("windir", nullptr, 0);
    if (needed > 0) {
        std::vector<char> value(needed);
        const DWORD got = GetEnvironmentVariableA("windir", value.data(), needed);
        if (got > 0 && got < needed) windir = std::string(value.data(), got);
    }
    char windowsDir[512] = "";
    if (!windir) GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    return SettingsFilePath(windir, windowsDir);
}

int Win32Profile::ReadInt(const char* section, const char* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, SettingsFile().c_str()));
}

std::string Win32Profile::ReadText(const char* section, const char* key, const char* fallback, std::size_t maxChars) {
    std::vector<char> buffer(maxChars + 1, '\0');
    const DWORD got = GetPrivateProfileStringA(section, key, fallback, buffer.data(), static_cast<DWORD>(buffer.size()),
                                               SettingsFile().c_str());
    return std::string(buffer.data(), got);
}

}  // namespace tolvane
