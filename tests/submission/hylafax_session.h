#pragma once
// Access to the HylaFAX server the ctest fixture started: its port, and the
// job files it wrote for what the client submitted.

#include <filesystem>
#include <map>
#include <string>

#include "monitor/submission/fax_submission.h"

namespace tolvane::testing {

class HylafaxServer {
public:
    // Skips the calling test when no server was started for it.
    static bool Available(std::string& why);
    static std::filesystem::path Spool();
    static std::uint16_t Port();
};

using JobFile = std::map<std::string, std::string>;

// Submits with the spool file at path through a POSIX connection.
SubmissionOutcome SubmitSpoolFile(const SubmissionRequest& request, const std::filesystem::path& path);

// The job number in "200 Job 7 submitted."; 0 if none.
int JobNumberIn(const std::string& reply);

// sendq/qN (or doneq/qN once the scheduler gave up on it) as key -> value.
JobFile ReadJobFile(int job);

// The bytes of a file; fails the test when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A fresh scratch folder for one test.
std::filesystem::path ScratchFolder(const std::string& name);

}  // namespace tolvane::testing
