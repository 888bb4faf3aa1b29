#pragma once
// The captured print data, read back for the upload in large blocks and
// byte for byte: PostScript from a driver may carry binary sections with any
// byte value, zero included.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tolvane {

inline constexpr std::size_t kUploadBlockBytes = 1024 * 1024;

class DocumentReader {
public:
    virtual ~DocumentReader() = default;
    // Fills block with the next bytes (at most its capacity as given by
    // maxBytes); an empty block means the end. False on a read error, with
    // the reason in error.
    virtual bool ReadBlock(std::vector<char>& block, std::size_t maxBytes, std::string& error) = 0;
};

class SpoolFileReader final : public DocumentReader {
public:
    // A file that cannot be opened fails the first ReadBlock.
    explicit SpoolFileReader(const std::filesystem::path& path);
    bool ReadBlock(std::vector<char>& block, std::size_t maxBytes, std::string& error) override;

private:
    std::ifstream file_;
};

}  // namespace tolvane
