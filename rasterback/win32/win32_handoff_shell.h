#pragma once
// The hand-off's contact with Windows: registry, shell requests, the save
// dialog, file copies and message boxes.

#include "rasterback/handoff.h"

namespace tolvane {

class Win32HandoffShell : public HandoffShell {
public:
    std::optional<std::string> ReadSendProgramFolder() override;
    void ShellOpen(const std::string& file, const std::string& parameters, ShowState show) override;
    void EnsureFolder(const std::string& folder) override;
    std::optional<std::string> AskSavePath(const std::string& currentPath, const std::string& initialFolder) override;
    bool SamePath(const std::string& a, const std::string& b) override;
    bool CopyFileTo(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    void ShowMessage(const UserMessage& message) override;
};

}  // namespace tolvane
