#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rasterback/bit_rotation.h"

namespace tolvane {
namespace {

bool bitAt(const uint8_t* row, int x) { return row[x / 8] & (0x80u >> (x % 8)); }

// The obvious pixel-by-pixel turn, 90 degrees clockwise: result pixel (c, r)
// is source pixel (r, height - 1 - c).
std::vector<uint8_t> naiveTurn(const std::vector<std::vector<uint8_t>>& src, int width, int height, size_t stride,
                               bool invert) {
    std::vector<uint8_t> out(stride * static_cast<size_t>(width), 0);
    for (int r = 0; r < width; ++r)
        for (int c = 0; c < height; ++c)
            if (bitAt(src[static_cast<size_t>(height - 1 - c)].data(), r) != invert)
                out[static_cast<size_t>(r) * stride + static_cast<size_t>(c / 8)] |=
                    static_cast<uint8_t>(0x80u >> (c % 8));
    return out;
}

TEST(BitRotation, MatchesThePixelByPixelTurnOnOddSizes) {
    const std::pair<int, int> sizes[] = {{1, 1},   {1, 9},   {9, 1},   {7, 13},  {13, 7},   {8, 8},
                                         {16, 24}, {17, 33}, {33, 17}, {63, 65}, {101, 37}, {215, 301}};
    std::mt19937 gen(42);
    for (auto [width, height] : sizes) {
        for (bool invert : {false, true}) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height << (invert ? " inverted" : ""));
            // Rows one byte longer than needed, filled with noise, so reads
            // beyond the pixels would show up as wrong result bits.
            const size_t rowBytes = static_cast<size_t>((width + 7) / 8 + 1);
            std::vector<std::vector<uint8_t>> src(static_cast<size_t>(height), std::vector<uint8_t>(rowBytes));
            std::vector<const uint8_t*> rows;
            for (auto& row : src) {
                for (auto& b : row) b = static_cast<uint8_t>(gen());
                rows.push_back(row.data());
            }
            const size_t stride = static_cast<size_t>((height + 7) / 8 + 2);
            const auto expected = naiveTurn(src, width, height, stride, invert);
            std::vector<uint8_t> out(stride * static_cast<size_t>(width), 0);
            RotateClockwise1bpp(rows.data(), width, height, out.data(), stride, invert);
            ASSERT_EQ(out, expected);
        }
    }
}

TEST(BitRotation, TurnsAMarkedCornerClockwise) {
    // A 3 x 2 page with only its top-left pixel set: after a clockwise turn the
    // page is 2 wide and 3 tall and the pixel is at the top right.
    std::vector<uint8_t> top{0x80}, bottom{0x00};
    const uint8_t* rows[] = {top.data(), bottom.data()};
    std::vector<uint8_t> out(3, 0xAA);
    RotateClockwise1bpp(rows, 3, 2, out.data(), 1, false);
    EXPECT_EQ(out, (std::vector<uint8_t>{0x40, 0x00, 0x00}));
}

TEST(BitRotation, InvertFlipsEveryByte) {
    std::vector<uint8_t> bytes{0x00, 0xFF, 0x5A};
    InvertBits(bytes.data(), 2);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0x00, 0x5A}));
}

}  // namespace
}  // namespace tolvane
