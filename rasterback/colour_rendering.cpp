#include "rasterback/colour_rendering.h"

namespace tolvane {

void ColourRowToBits(const uint8_t* bgr, int width, uint8_t* out) {
    const int bytes = (width + 7) / 8;
    for (int i = 0; i < bytes; ++i) out[i] = 0xFF;
    for (int x = 0; x < width; ++x, bgr += 3)
        if (IsDarkPixel(bgr[0], bgr[1], bgr[2])) out[x / 8] = static_cast<uint8_t>(out[x / 8] & ~(0x80u >> (x % 8)));
}

}  // namespace tolvane
