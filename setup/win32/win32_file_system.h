#pragma once
// Files and folders of the machine for the setup tool: kernel32's file calls,
// the program's own resources, and the WoW64 file-system redirection switch
// (looked up at run time: 32-bit XP and Windows 2000 lack it).

#include <cstddef>
#include <string>
#include <string_view>

#include "setup/setup_platform.h"

namespace tolvane {

class Win32FileSystem final : public FileSystem {
public:
    std::u16string SystemDirectory() override;
    std::u16string WindowsDirectory() override;
    bool Exists(std::u16string_view path) override;
    std::vector<FolderEntry> ListFolder(std::u16string_view folder) override;
    bool CopyFile(std::u16string_view from, std::u16string_view to) override;
    bool FileStartsWith(std::u16string_view path, std::string_view prefix) override;
    bool DeleteFile(std::u16string_view path) override;
    bool CreateFolder(std::u16string_view path) override;
    bool RemoveFolder(std::u16string_view path) override;
    // Also false, creating no file, when the program has no such resource, and
    // false when not all of its bytes could be written.
    bool ExtractResource(std::u16string_view type, int id, std::u16string_view path) override;
    bool WithoutFsRedirection(const std::function<void()>& operation) override;
};

// The whole content of a file of at most `maxBytes` bytes. False when it cannot
// be read or is longer (nothing is cut).
bool ReadFileBytes(std::u16string_view path, std::size_t maxBytes, std::string& bytes);

}  // namespace tolvane
