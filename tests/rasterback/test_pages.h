#pragma once
// Pages as the render plug-in hands them over (row buffers and a table of
// 8-byte entries), and pages as read back from a written TIFF.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "rasterback/page_writer.h"

typedef struct tiff TIFF;

namespace tolvane::test {

// A page in the plug-in's form: `rowBytes` per row, set bit = white.
class PluginPage {
public:
    PluginPage(int width, int height, int rowBytes);
    // A copy has rows and a table of its own.
    PluginPage(const PluginPage& other);
    PluginPage& operator=(const PluginPage&) = delete;
    static PluginPage randomBilevel(int width, int height, int rowBytes, unsigned seed);

    uint8_t* row(int y) { return buffers_[static_cast<std::size_t>(y)].data(); }
    const uint8_t* row(int y) const { return buffers_[static_cast<std::size_t>(y)].data(); }
    const void* rowTable() const { return &firstEntry_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int rowBytes() const { return rowBytes_; }
    bool pixelWhite(int x, int y) const;  // bi-level pages
    PageRequest request(int pageNumber, int xDpi, int yDpi, int keepOpen = 0, int bilevel = 1) const;

private:
    void buildTable();
    int width_, height_, rowBytes_;
    std::vector<std::vector<uint8_t>> buffers_;
    std::vector<uint8_t> entries_;
    const void* firstEntry_;
};

struct StoredPage {
    uint32_t width = 0, length = 0;
    std::vector<std::vector<uint8_t>> rows;  // as stored: set bit = black
    bool pixelBlack(uint32_t x, uint32_t y) const { return rows[y][x / 8] & (0x80u >> (x % 8)); }
};

std::vector<StoredPage> readStoredPages(const std::string& path);

// Creates the fax file at `path` on a disk with room for `freeBytes` more
// bytes: writes past that are cut short and refused, as on a full disk.
TIFF* openOnNearlyFullDisk(const std::string& path, std::size_t freeBytes);

// A fresh, empty folder under the system's temporary folder.
std::string makeTempDir();

}  // namespace tolvane::test
