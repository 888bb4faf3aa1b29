#pragma once
// Page images read from PBM (P4) and PPM (P6) files and laid out as the render
// plug-in hands them over: 1-bit rows with set bits white, or 24-bit rows in
// blue, green, red order, each row `rowBytes` long.

#include <cstdint>
#include <string>
#include <vector>

struct PluginImage {
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    bool bilevel = true;
    std::vector<uint8_t> pixels;  // height rows of rowBytes

    uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * rowBytes; }
};

// rowBytes 0 picks the DIB stride (the pixels' bytes padded to 4). Padding
// bytes hold a fixed pattern so that a reader that strays into them shows.
bool loadPbm(const std::string& path, int rowBytes, PluginImage& image, std::string& error);
bool loadPpm(const std::string& path, int rowBytes, PluginImage& image, std::string& error);
