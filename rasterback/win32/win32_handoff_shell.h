#pragma once
// The hand-off's contact with Windows: registry, shell requests, the save
// dialog, file copies and message boxes.

#include "rasterback/handoff.h"

namespace rasterback::win32 {

class Win32HandoffShell : public HandoffShell {
public:
    std::optional<std::string> readSendProgramFolder() override;
    void shellOpen(const std::string& file, const std::string& parameters, ShowState show) override;
    void ensureFolder(const std::string& folder) override;
    std::optional<std::string> askSavePath(const std::string& currentPath, const std::string& initialFolder) override;
    bool samePath(const std::string& a, const std::string& b) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool deleteFile(const std::string& path) override;
    void showMessage(const UserMessage& message) override;
};

}  // namespace rasterback::win32
