#pragma once
// Calderine.ini through the system's profile functions, in "windir" (or the
// Windows folder), located anew on every read.

#include <string>

#include "rasterback/profile_reader.h"

namespace tolvane {

std::string SettingsFile();

class Win32Profile : public ProfileReader {
public:
    int ReadInt(const char* section, const char* key, int fallback) override;
    std::string ReadText(const char* section, const char* key, const char* fallback, std::size_t maxChars) override;
};

}  // namespace tolvane
