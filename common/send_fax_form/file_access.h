#pragma once
// The address book's view of the file system: ANSI paths (the folder comes from
// the conversation, the file names are fixed), whole-file reads and writes.
// Windows calls in common/send_fax_form/win32/win32_file_access.cpp; tests use a map.

#include <string>

namespace tolvane {

class FileAccess {
public:
    virtual ~FileAccess() = default;
    virtual bool FolderExists(const std::string& folder) = 0;
    // Creates one folder level; false when it cannot be created.
    virtual bool CreateFolder(const std::string& folder) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool ReadWholeFile(const std::string& path, std::string& content) = 0;
    // Replaces the file's content (creating the file when missing).
    virtual bool WriteWholeFile(const std::string& path, const std::string& content) = 0;
};

}  // namespace tolvane
