#include "page_files.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace {

constexpr uint8_t kPadding = 0x5A;

// Reads "Px W H [maxval]" with comments and returns the offset of the pixels.
bool readHeader(const std::vector<uint8_t>& data, const char* magic, bool hasMaxval, int& width, int& height,
                std::size_t& offset) {
    if (data.size() < 2 || data[0] != magic[0] || data[1] != magic[1]) return false;
    std::size_t i = 2;
    int values[3] = {0, 0, 0};
    const int count = hasMaxval ? 3 : 2;
    for (int v = 0; v < count; ++v) {
        while (i < data.size() && (std::isspace(data[i]) || data[i] == '#')) {
            if (data[i] == '#')
                while (i < data.size() && data[i] != '\n') ++i;
            else
                ++i;
        }
        if (i >= data.size() || !std::isdigit(data[i])) return false;
        while (i < data.size() && std::isdigit(data[i])) values[v] = values[v] * 10 + (data[i++] - '0');
    }
    width = values[0];
    height = values[1];
    offset = i + 1;  // one whitespace byte ends the header
    return width > 0 && height > 0 && (!hasMaxval || values[2] == 255);
}

bool readFile(const std::string& path, std::vector<uint8_t>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

bool loadPbm(const std::string& path, int rowBytes, PluginImage& image, std::string& error) {
    std::vector<uint8_t> data;
    std::size_t offset = 0;
    if (!readFile(path, data) || !readHeader(data, "P4", false, image.width, image.height, offset)) {
        error = "not a readable PBM file: " + path;
        return false;
    }
    const int packed = (image.width + 7) / 8;
    if (data.size() < offset + static_cast<std::size_t>(packed) * image.height) {
        error = "PBM file is short: " + path;
        return false;
    }
    image.bilevel = true;
    image.rowBytes = rowBytes > 0 ? rowBytes : (packed + 3) / 4 * 4;
    image.pixels.assign(static_cast<std::size_t>(image.rowBytes) * image.height, kPadding);
    for (int y = 0; y < image.height; ++y)
        for (int i = 0; i < packed && i < image.rowBytes; ++i)  // PBM: set bit black; plug-in: set bit white
            image.row(y)[i] = static_cast<uint8_t>(~data[offset + static_cast<std::size_t>(y) * packed + i]);
    return true;
}

bool loadPpm(const std::string& path, int rowBytes, PluginImage& image, std::string& error) {
    std::vector<uint8_t> data;
    std::size_t offset = 0;
    if (!readFile(path, data) || !readHeader(data, "P6", true, image.width, image.height, offset)) {
        error = "not a readable PPM file: " + path;
        return false;
    }
    const std::size_t packed = static_cast<std::size_t>(image.width) * 3;
    if (data.size() < offset + packed * image.height) {
        error = "PPM file is short: " + path;
        return false;
    }
    image.bilevel = false;
    image.rowBytes = rowBytes > 0 ? rowBytes : static_cast<int>((packed + 3) / 4 * 4);
    image.pixels.assign(static_cast<std::size_t>(image.rowBytes) * image.height, kPadding);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width && 3 * x + 2 < image.rowBytes; ++x) {
            const uint8_t* rgb = &data[offset + y * packed + 3 * x];
            uint8_t* bgr = image.row(y) + 3 * x;
            bgr[0] = rgb[2];
            bgr[1] = rgb[1];
            bgr[2] = rgb[0];
        }
    return true;
}
