#pragma once
// Exact 90-degree clockwise rotation of 1-bit pages, with the bit inversion the
// fax file needs folded in. Works in 8x8 bit blocks so an A4 page turns in well
// under a millisecond, far below the cost of encoding it.

#include <cstddef>
#include <cstdint>

namespace tolvane {

// Rows are 1 bit per pixel, leftmost pixel in the most significant bit.
// `rows` holds `height` row addresses, each row at least (width + 7) / 8 bytes;
// only those bytes are read. The result has `width` rows of `height` pixels:
// result row r, pixel c is source row (height - 1 - c), pixel r. Each result
// row starts at dst + r * dstStride and fills (height + 7) / 8 bytes
// (dstStride must be at least that); padding bits past `height` are 0 in the
// result. With `invert`, every image bit is flipped.
void RotateClockwise1bpp(const uint8_t* const* rows, int width, int height, uint8_t* dst, size_t dstStride,
                         bool invert);

// Flips every bit of `count` bytes in place.
void InvertBits(uint8_t* bytes, size_t count);

}  // namespace tolvane
