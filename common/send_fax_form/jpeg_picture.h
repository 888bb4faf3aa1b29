#pragma once
// The small picture in the send-fax form's header is a JPEG stored in the
// program's resources; this decodes it with libjpeg (IJG 6b interface).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvane {

// Pixels top-down, 3 bytes each in blue, green, red order (the order of a
// 24-bit Windows DIB), rows padded to a multiple of 4 bytes.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> bgr;
};

// Nothing when the data is not a JPEG libjpeg can decode or the picture is
// larger than maxSide in either direction.
std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> data, int maxSide = 4096);

}  // namespace tolvane
