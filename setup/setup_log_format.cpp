#include "setup/setup_log_format.h"

#include <cstdio>

namespace tolvane {
namespace {

// A cut must not leave half of a surrogate pair at the end of the entry.
std::size_t CutPoint(std::u16string_view text, std::size_t room) {
    if (room >= text.size()) return text.size();
    if (room > 0 && text[room - 1] >= 0xD800 && text[room - 1] <= 0xDBFF) return room - 1;
    return room;
}

}  // namespace

std::u16string FormatLogEntry(const LogTime& time, int status, std::u16string_view text) {
    char prefix[96];
    const int length = std::snprintf(prefix, sizeof prefix, "%4u/%2u/%2u\t%2u:%2u:%2u\t%2d\t", time.year, time.month,
                                     time.day, time.hour, time.minute, time.second, status);
    std::u16string entry(prefix, prefix + (length > 0 ? length : 0));

    // A system message brings its own line break; every other entry gets one.
    // An entry too long for the limit is cut before its line break, so that
    // the next entry still starts a line of its own.
    const bool bringsLineBreak = status == -1 && !text.empty() && text.back() == u'\n';
    const std::size_t ending = bringsLineBreak ? 0 : 2;
    if (entry.size() + text.size() + ending <= kLogEntryMaxChars) {
        entry += text;
        if (ending != 0) entry += u"\r\n";
        return entry;
    }
    const std::size_t room = kLogEntryMaxChars - 2 - entry.size();
    entry += text.substr(0, CutPoint(text, room));
    entry += u"\r\n";
    return entry;
}

std::string LogEntryBytes(std::u16string_view entry) {
    std::string bytes;
    bytes.reserve(entry.size() * 2);
    for (char16_t unit : entry) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace tolvane
