#pragma once
// Colour pages become bi-level pages before they are written, so every page of
// the fax file is a CCITT page that a fax server can send. A pixel is black
// when its luminance (ITU-R BT.601 weights) is below half scale; no dithering,
// so text and line art stay crisp and the result is exactly predictable.

#include <cstdint>

namespace tolvane {

// One row of `width` pixels of 3 bytes each in blue, green, red order (the
// 24-bit RGB layout of the plug-in) becomes a 1-bit row in the plug-in's own
// convention (set bit = white), leftmost pixel in the most significant bit.
// `out` receives (width + 7) / 8 bytes; padding bits are white.
void ColourRowToBits(const uint8_t* bgr, int width, uint8_t* out);

inline bool IsDarkPixel(uint8_t blue, uint8_t green, uint8_t red) {
    return 299u * red + 587u * green + 114u * blue < 128u * 1000u;
}

}  // namespace tolvane
