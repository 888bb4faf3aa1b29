#pragma once
// Where the setup log's entries go: nowhere (Ruddock's window), or appended to
// a file in the format of "Setup.log" (Ruddset, and the unattended "/log FILE").

#include <string>
#include <string_view>

#include "setup/setup_platform.h"

namespace tolvane {

class DiscardingSetupLog final : public SetupLog {
public:
    bool Write(std::u16string_view, int) override { return true; }
};

// The file stays open, unshared, from construction to destruction: a second
// copy of the tool running at the same time drops its entries instead of
// mixing them in. A file that cannot be opened drops every entry silently.
class FileSetupLog final : public SetupLog {
public:
    // Opens `path` (relative: to the current directory), creating it with the
    // UTF-16LE byte-order mark when it is new or empty.
    explicit FileSetupLog(std::u16string_view path);
    ~FileSetupLog() override;
    FileSetupLog(const FileSetupLog&) = delete;
    FileSetupLog& operator=(const FileSetupLog&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // The system's error code when the file could not be opened.
    unsigned long OpenError() const { return openError_; }
    bool Write(std::u16string_view text, int status) override;

private:
    void* file_ = nullptr;  // the file's HANDLE; null when it could not be opened
    unsigned long openError_ = 0;
};

inline constexpr std::u16string_view kSetupLogFileName = u"Setup.log";

}  // namespace tolvane
