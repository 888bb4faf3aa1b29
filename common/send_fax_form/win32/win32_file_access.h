#pragma once
// The address book's files through the ANSI file functions of Windows (the
// folder and file names are ANSI texts).

#include "common/send_fax_form/file_access.h"

namespace tolvane {

class Win32FileAccess : public FileAccess {
public:
    bool FolderExists(const std::string& folder) override;
    bool CreateFolder(const std::string& folder) override;
    bool FileExists(const std::string& path) override;
    bool ReadWholeFile(const std::string& path, std::string& content) override;
    bool WriteWholeFile(const std::string& path, const std::string& content) override;
    bool ReplaceFileWith(const std::string& path, const std::string& replacement) override;
    bool RemoveFile(const std::string& path) override;
};

}  // namespace tolvane
