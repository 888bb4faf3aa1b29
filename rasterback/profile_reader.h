#pragma once
// Read access to Calderine.ini, one key at a time and anew on every read, the
// way the profile functions of the system read it.

#include <cstddef>
#include <string>

namespace tolvane {

class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    // The key's integer value, or `fallback` when the key is missing or empty.
    virtual int ReadInt(const char* section, const char* key, int fallback) = 0;
    // The key's text, at most `maxChars` characters, or `fallback` when the key
    // is missing.
    virtual std::string ReadText(const char* section, const char* key, const char* fallback, std::size_t maxChars) = 0;
};

}  // namespace tolvane
