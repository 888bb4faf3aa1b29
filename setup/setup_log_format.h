#pragma once
// The entries of "Setup.log" (and of the unattended "/log" file): UTF-16LE
// text, begun by the byte-order mark FF FE when the file is created, one entry
// per line: date, tab, time, tab, status, tab, text, CR LF.

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

// Local time of an entry.
struct LogTime {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// An entry holds at most 1023 characters; a longer one is cut.
inline constexpr std::size_t kLogEntryMaxChars = 1023;

// "%4u/%2u/%2u\t%2u:%2u:%2u\t%2d\t%s\r\n" (blank-padded, not zero-padded).
// A status -1 entry gets no CR LF of its own when its text, the system's
// message, already ends with a line break. Every entry ends its line: a text
// too long for the limit is cut before the CR LF (never inside a surrogate
// pair), so the next entry still starts a line of its own.
std::u16string FormatLogEntry(const LogTime& time, int status, std::u16string_view text);

// The two bytes a new log file starts with.
inline constexpr std::string_view kUtf16LeMark{"\xFF\xFE", 2};

// The entry's bytes as they are appended (UTF-16LE, no terminator).
std::string LogEntryBytes(std::u16string_view entry);

}  // namespace tolvane
