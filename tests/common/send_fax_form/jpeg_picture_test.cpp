// The header picture as stored in the resources, and hostile data.
#include "common/send_fax_form/jpeg_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tolvane {
namespace {

std::vector<std::uint8_t> HeaderPictureBytes() {
    const char* source = std::getenv("TOLVANE_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : ".") + "/common/send_fax_form/win32/header.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DecodeJpeg, TheHeaderPictureIs64By64WithAWhiteCornerAndABlueArrow) {
    const auto bytes = HeaderPictureBytes();
    ASSERT_FALSE(bytes.empty());
    const auto picture = DecodeJpeg(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 64);
    EXPECT_EQ(picture->height, 64);
    EXPECT_EQ(picture->stride, 192u);
    ASSERT_EQ(picture->bgr.size(), 192u * 64);
    const auto pixel = [&](int x, int y) { return &picture->bgr[picture->stride * y + 3 * x]; };
    EXPECT_GT(pixel(1, 1)[0], 240);  // white corner
    EXPECT_GT(pixel(1, 1)[2], 240);
    const auto* arrow = pixel(44, 49);  // blue: more blue than red
    EXPECT_GT(arrow[0], arrow[2] + 80);
}

TEST(DecodeJpeg, RejectsDataThatIsNoJpegOrTooLargeWithoutCrashing) {
    EXPECT_FALSE(DecodeJpeg({}).has_value());
    const std::vector<std::uint8_t> garbage(300, 0x5A);
    EXPECT_FALSE(DecodeJpeg(garbage).has_value());
    auto bytes = HeaderPictureBytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(DecodeJpeg(bytes, 32).has_value());
    bytes.resize(bytes.size() / 2);  // truncated: decodes partly or not at all
    const auto partial = DecodeJpeg(bytes);
    if (partial) {
        EXPECT_EQ(partial->bgr.size(), partial->stride * 64);
    }
}

}  // namespace
}  // namespace tolvane
