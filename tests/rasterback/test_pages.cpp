#include "test_pages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <stdexcept>

#include <tiffio.h>

namespace tolvane::test {

PluginPage::PluginPage(int width, int height, int rowBytes)
    : width_(width),
      height_(height),
      rowBytes_(rowBytes),
      buffers_(static_cast<std::size_t>(height), std::vector<uint8_t>(static_cast<std::size_t>(rowBytes), 0xFF)),
      entries_(static_cast<std::size_t>(height) * 8, 0xEE)  // the unread half of each entry holds junk
{
    buildTable();
}

PluginPage::PluginPage(const PluginPage& other)
    : width_(other.width_),
      height_(other.height_),
      rowBytes_(other.rowBytes_),
      buffers_(other.buffers_),
      entries_(other.entries_) {
    buildTable();
}

void PluginPage::buildTable() {
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        const uint8_t* address = buffers_[i].data();
        std::memcpy(entries_.data() + i * 8, &address, sizeof address);
    }
    firstEntry_ = entries_.data();
}

PluginPage PluginPage::randomBilevel(int width, int height, int rowBytes, unsigned seed) {
    PluginPage page(width, height, rowBytes);
    std::mt19937 gen(seed);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < rowBytes; ++i) page.row(y)[i] = static_cast<uint8_t>(gen());
    return page;
}

bool PluginPage::pixelWhite(int x, int y) const {
    return buffers_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x / 8)] & (0x80u >> (x % 8));
}

PageRequest PluginPage::request(int pageNumber, int xDpi, int yDpi, int keepOpen, int bilevel) const {
    return {rowTable(), rowBytes_, width_, height_, pageNumber, bilevel, xDpi, yDpi, keepOpen};
}

std::vector<StoredPage> readStoredPages(const std::string& path) {
    std::vector<StoredPage> pages;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) throw std::runtime_error("cannot open " + path);
    do {
        StoredPage page;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.length);
        const tmsize_t size = TIFFScanlineSize(tif);
        for (uint32_t y = 0; y < page.length; ++y) {
            std::vector<uint8_t> row(static_cast<std::size_t>(size));
            if (TIFFReadScanline(tif, row.data(), y, 0) != 1)
                throw std::runtime_error("cannot decode row " + std::to_string(y) + " of " + path);
            page.rows.push_back(std::move(row));
        }
        pages.push_back(std::move(page));
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

namespace {

struct NearlyFullDisk {
    std::FILE* file;
    std::size_t freeBytes;
};

NearlyFullDisk& diskOf(thandle_t handle) { return *static_cast<NearlyFullDisk*>(handle); }

tmsize_t readDisk(thandle_t h, void* buffer, tmsize_t size) {
    return static_cast<tmsize_t>(std::fread(buffer, 1, static_cast<std::size_t>(size), diskOf(h).file));
}

tmsize_t writeDisk(thandle_t h, void* buffer, tmsize_t size) {
    NearlyFullDisk& disk = diskOf(h);
    const std::size_t room = std::min(static_cast<std::size_t>(size), disk.freeBytes);
    const std::size_t written = std::fwrite(buffer, 1, room, disk.file);
    disk.freeBytes -= written;
    return static_cast<tmsize_t>(written);
}

toff_t seekDisk(thandle_t h, toff_t offset, int whence) {
    if (fseeko(diskOf(h).file, static_cast<off_t>(offset), whence) != 0) return static_cast<toff_t>(-1);
    return static_cast<toff_t>(ftello(diskOf(h).file));
}

int closeDisk(thandle_t h) {
    const int result = std::fclose(diskOf(h).file);
    delete &diskOf(h);
    return result;
}

toff_t sizeOfDisk(thandle_t h) {
    std::FILE* file = diskOf(h).file;
    const off_t at = ftello(file);
    fseeko(file, 0, SEEK_END);
    const off_t size = ftello(file);
    fseeko(file, at, SEEK_SET);
    return static_cast<toff_t>(size);
}

int mapNothing(thandle_t, void**, toff_t*) { return 0; }
void unmapNothing(thandle_t, void*, toff_t) {}

}  // namespace

TIFF* openOnNearlyFullDisk(const std::string& path, std::size_t freeBytes) {
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    if (!file) return nullptr;
    auto* disk = new NearlyFullDisk{file, freeBytes};
    TIFF* tif = TIFFClientOpen(path.c_str(), "w", disk, readDisk, writeDisk, seekDisk, closeDisk, sizeOfDisk,
                               mapNothing, unmapNothing);
    if (!tif) closeDisk(disk);
    return tif;
}

std::string makeTempDir() {
    std::string pattern = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/rasterbackXXXXXX");
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

}  // namespace tolvane::test
