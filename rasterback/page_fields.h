#pragma once
// The TIFF fields of one fax page, in the order they are set. Kept as data so
// the order (Compression before the T4/T6 options, which libtiff only knows
// once the fax codec is selected) is visible and testable.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

typedef struct tiff TIFF;

namespace tolvane {

// "Compress" of Calderine.ini: 1 = CCITT Group 3, 2 = CCITT Group 4, any other
// value = only the common description fields.
enum class CompressionScheme { None = 0, Group3 = 1, Group4 = 2 };
CompressionScheme SchemeFromSetting(int compressSetting);

struct PageNumberPair {
    uint16_t page;
    uint16_t total;
    bool operator==(const PageNumberPair&) const = default;
};

struct FieldSetting {
    uint32_t tag;
    std::variant<uint32_t, double, std::string_view, PageNumberPair> value;  // texts are static, NUL-terminated
    bool operator==(const FieldSetting&) const = default;
};

// Text of the Software field: the maker's web address.
extern const char* const kSoftwareText;
// Text of the ImageDescription field.
extern const char* const kImageDescription;

std::vector<FieldSetting> PageFieldSettings(CompressionScheme scheme, int pageNumber, uint32_t width, uint32_t length,
                                            double xRes, double yRes);

// Sets each field with TIFFSetField in order. Returns false when libtiff refused
// one (the remaining fields are still set, as a refused field must not hide the
// others).
bool ApplyFieldSettings(TIFF* tif, const std::vector<FieldSetting>& fields);

}  // namespace tolvane
