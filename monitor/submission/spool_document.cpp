#include "monitor/submission/spool_document.h"

namespace tolvane {

SpoolFileReader::SpoolFileReader(const std::filesystem::path& path) : file_(path, std::ios::in | std::ios::binary) {}

bool SpoolFileReader::ReadBlock(std::vector<char>& block, std::size_t maxBytes, std::string& error) {
    block.resize(maxBytes);
    if (!file_.is_open()) {
        error = "cannot open the spool file";
        block.clear();
        return false;
    }
    file_.read(block.data(), static_cast<std::streamsize>(maxBytes));
    const std::streamsize got = file_.gcount();
    block.resize(static_cast<std::size_t>(got));
    if (file_.bad() || (file_.fail() && !file_.eof())) {
        error = "cannot read the spool file";
        return false;
    }
    return true;
}

}  // namespace tolvane
