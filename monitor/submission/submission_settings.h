#pragma once
// The port settings the submission uses, as text in the system's ANSI code page
// (the port's configuration record holds them as UTF-16; list choices are
// zero-based positions in decimal text).

#include <string>

#include "common/port_config_record.h"
#include "monitor/submission/ansi_encoder.h"

namespace tolvane {

struct SubmissionSettings {
    std::string server;           // Server: dotted IPv4 address of the fax server
    std::string username;         // Username
    std::string password;         // Password
    std::string advertising;      // Advertising: the end of every page's tagline
    std::string pageSize;         // PageSize: "1" asks for A4 (209 x 296 mm)
    std::string maxDials;         // MaxDials: decimal text, sent unchanged
    std::string maxTries;         // MaxTries: decimal text, sent unchanged
    std::string validity;         // Validity: "0" to "4", how long the job may wait
    std::string ignorePassiveIp;  // IgnorePassiveIP: "1" connects data to Server
};

// The settings from the port's configuration record, each converted to ANSI.
SubmissionSettings SubmissionSettingsFrom(const PortConfigRecord& record, const AnsiEncoder& toAnsi);

}  // namespace tolvane
