#include "rasterback/bit_rotation.h"

#include <vector>

namespace tolvane {

namespace {

// Transposes an 8x8 bit matrix held as 8 bytes (row 0 in the most significant
// byte, column 0 in each byte's most significant bit).
inline uint64_t Transpose8x8(uint64_t x) {
    uint64_t t;
    t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    x = x ^ t ^ (t << 28);
    return x;
}

}  // namespace

void RotateClockwise1bpp(const uint8_t* const* rows, int width, int height, uint8_t* dst, size_t dstStride,
                         bool invert) {
    if (width <= 0 || height <= 0) return;
    const int srcBytes = (width + 7) / 8;
    const int dstBytes = (height + 7) / 8;
    const uint8_t flip = invert ? 0xFF : 0x00;
    const int tailBits = height % 8;
    const uint8_t tailMask = tailBits ? static_cast<uint8_t>(0xFF << (8 - tailBits)) : 0xFF;
    const std::vector<uint8_t> blank(static_cast<size_t>(srcBytes), 0);

    // Result byte j of every row holds result pixels 8j..8j+7, which come from
    // source rows height-1-8j downwards: gather those 8 rows once per j.
    for (int j = 0; j < dstBytes; ++j) {
        const uint8_t* src[8];
        for (int k = 0; k < 8; ++k) {
            const int y = height - 1 - (8 * j + k);
            src[k] = y >= 0 ? rows[y] : blank.data();
        }
        const uint8_t mask = j == dstBytes - 1 ? tailMask : 0xFF;
        uint8_t* out = dst + j;
        for (int b = 0; b < srcBytes; ++b) {
            uint64_t block = 0;
            for (int k = 0; k < 8; ++k) block = (block << 8) | src[k][b];
            block = Transpose8x8(block);
            const int firstRow = 8 * b;
            const int count = width - firstRow < 8 ? width - firstRow : 8;
            uint8_t* o = out + static_cast<size_t>(firstRow) * dstStride;
            for (int m = 0; m < count; ++m, o += dstStride)
                *o = static_cast<uint8_t>((static_cast<uint8_t>(block >> (56 - 8 * m)) ^ flip) & mask);
        }
    }
}

void InvertBits(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

}  // namespace tolvane
