#pragma once
// Calderine.ini read from its text with the rules of the system's profile
// functions: section and key names match without regard to letter case, blanks
// around names and values are dropped, a value in matching quotes loses them,
// ';' starts a comment line, and the first of repeated sections or keys wins.
// Used where the system's own functions are not at hand (native builds, tests).

#include <map>
#include <string>

#include "rasterback/profile_reader.h"

namespace tolvane {

class IniProfile : public ProfileReader {
public:
    explicit IniProfile(const std::string& text);
    static IniProfile FromFile(const std::string& path);  // a missing file reads as empty

    int ReadInt(const char* section, const char* key, int fallback) override;
    std::string ReadText(const char* section, const char* key, const char* fallback, std::size_t maxChars) override;

private:
    const std::string* Find(const char* section, const char* key) const;
    std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
};

// Leading decimal number of `text` after blanks, with an optional sign; 0 when
// there are no digits (as the profile functions answer for "abc").
int ParseProfileInt(const std::string& text);

}  // namespace tolvane
