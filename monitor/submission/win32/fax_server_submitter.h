#pragma once
// The submission of a captured document to the port's fax server over Windows
// sockets: the portable client (monitor/fax_submission.h) with the port's
// settings, the user's answers and the spool file.

#include <string>

#include "common/port_config_record.h"
#include "monitor/print_path/end_of_document.h"
#include "monitor/submission/upload_compression.h"

namespace tolvane {

class FaxServerSubmitter final : public FaxSubmitter {
public:
    FaxServerSubmitter(const PortConfigRecord& config, UploadCompression compression, std::wstring spoolPath)
        : config_(config), compression_(compression), spoolPath_(std::move(spoolPath)) {}
    SubmissionReport Submit(const FaxAnswers& answers) override;

private:
    const PortConfigRecord& config_;
    UploadCompression compression_;
    std::wstring spoolPath_;
};

}  // namespace tolvane
