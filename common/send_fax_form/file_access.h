#pragma once
// The address book's view of the file system: ANSI paths (the folder comes from
// the conversation, the file names are fixed), whole-file reads and writes, and
// the one rename that puts a newly written file in the place of an old one.
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
    // Reads the whole file while other programs keep it open for reading or
    // writing (a spreadsheet showing the book must not lock it).
    virtual bool ReadWholeFile(const std::string& path, std::string& content) = 0;
    // Writes the file from scratch (creating it when missing). A failure can
    // leave it cut short, which is why the book's own files are never written
    // this way but replaced (ReplaceFileWith).
    virtual bool WriteWholeFile(const std::string& path, const std::string& content) = 0;
    // Puts the file `replacement` in the place of `path` (which need not exist)
    // by one rename: afterwards `path` has either its old content or the whole
    // new one. Fails, changing nothing, when `path` may not be replaced: a
    // read-only file, or one another program holds open without sharing it.
    virtual bool ReplaceFileWith(const std::string& path, const std::string& replacement) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace tolvane
