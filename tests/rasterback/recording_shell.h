#pragma once
// A hand-off shell that records every request in order, for the hand-off and
// end-of-document tests.

#include <optional>
#include <string>
#include <vector>

#include "rasterback/handoff.h"

namespace tolvane::test {

class RecordingShell : public HandoffShell {
public:
    std::optional<std::string> ReadSendProgramFolder() override {
        log.push_back("registry");
        return softPath;
    }
    void ShellOpen(const std::string& file, const std::string& parameters, ShowState show) override {
        log.push_back("open[" + file + "][" + parameters + "]" + std::to_string(static_cast<int>(show)));
    }
    void EnsureFolder(const std::string& folder) override { log.push_back("folder[" + folder + "]"); }
    std::optional<std::string> AskSavePath(const std::string& current, const std::string& initial) override {
        log.push_back("dialog[" + current + "][" + initial + "]");
        return answer;
    }
    bool SamePath(const std::string& a, const std::string& b) override { return a == b; }
    bool CopyFileTo(const std::string& from, const std::string& to) override {
        log.push_back("copy[" + from + "][" + to + "]");
        return copySucceeds;
    }
    bool RemoveFile(const std::string& path) override {
        log.push_back("delete[" + path + "]");
        return true;
    }
    void ShowMessage(const UserMessage& m) override { messages.push_back(m); }

    std::optional<std::string> softPath, answer;
    bool copySucceeds = true;
    std::vector<std::string> log;
    std::vector<UserMessage> messages;
};

}  // namespace tolvane::test
