#include "rasterback/page_fields.h"

#include <tiffio.h>

namespace tolvane {

const char* const kSoftwareText = "http://www.merrowind.com/";
const char* const kImageDescription = "Ostrel";

CompressionScheme SchemeFromSetting(int compressSetting) {
    switch (compressSetting) {
    case 1:
        return CompressionScheme::Group3;
    case 2:
        return CompressionScheme::Group4;
    default:
        return CompressionScheme::None;
    }
}

std::vector<FieldSetting> PageFieldSettings(CompressionScheme scheme, int pageNumber, uint32_t width, uint32_t length,
                                            double xRes, double yRes) {
    std::vector<FieldSetting> f = {
        {TIFFTAG_SUBFILETYPE, uint32_t{FILETYPE_PAGE}},
        {TIFFTAG_IMAGEWIDTH, width},
        {TIFFTAG_IMAGELENGTH, length},
        {TIFFTAG_XRESOLUTION, xRes},
        {TIFFTAG_YRESOLUTION, yRes},
        {TIFFTAG_IMAGEDESCRIPTION, std::string_view(kImageDescription)},
        {TIFFTAG_SOFTWARE, std::string_view(kSoftwareText)},
    };
    if (scheme == CompressionScheme::None) return f;

    const bool g3 = scheme == CompressionScheme::Group3;
    f.push_back({TIFFTAG_BITSPERSAMPLE, uint32_t{1}});
    f.push_back({TIFFTAG_SAMPLESPERPIXEL, uint32_t{1}});
    f.push_back({TIFFTAG_ROWSPERSTRIP, length});
    if (g3) {
        f.push_back({TIFFTAG_COMPRESSION, uint32_t{COMPRESSION_CCITTFAX3}});
        f.push_back({TIFFTAG_GROUP3OPTIONS, uint32_t{GROUP3OPT_2DENCODING}});
    } else {
        f.push_back({TIFFTAG_COMPRESSION, uint32_t{COMPRESSION_CCITTFAX4}});
        f.push_back({TIFFTAG_GROUP4OPTIONS, uint32_t{0}});
    }
    f.push_back({TIFFTAG_PHOTOMETRIC, uint32_t{PHOTOMETRIC_MINISWHITE}});
    f.push_back({TIFFTAG_FILLORDER, uint32_t{FILLORDER_LSB2MSB}});
    f.push_back({TIFFTAG_PLANARCONFIG, uint32_t{PLANARCONFIG_CONTIG}});
    f.push_back({TIFFTAG_PAGENUMBER, PageNumberPair{static_cast<uint16_t>(pageNumber), 0}});
    f.push_back({TIFFTAG_RESOLUTIONUNIT, uint32_t{RESUNIT_INCH}});
    f.push_back({TIFFTAG_BADFAXLINES, uint32_t{0}});
    f.push_back({TIFFTAG_CLEANFAXDATA, uint32_t{CLEANFAXDATA_CLEAN}});
    f.push_back({TIFFTAG_ORIENTATION, uint32_t{ORIENTATION_TOPLEFT}});
    f.push_back({TIFFTAG_BADFAXLINES, uint32_t{0}});
    f.push_back({TIFFTAG_CONSECUTIVEBADFAXLINES, uint32_t{0}});
    return f;
}

namespace {

struct FieldApplier {
    TIFF* tif;
    uint32_t tag;
    // Integer fields of 16 bits travel through varargs as int, 32-bit ones as
    // uint32; both are 4 bytes wide, so one alternative serves both.
    int operator()(uint32_t v) const { return TIFFSetField(tif, tag, v); }
    int operator()(double v) const { return TIFFSetField(tif, tag, v); }
    int operator()(std::string_view v) const { return TIFFSetField(tif, tag, v.data()); }
    int operator()(PageNumberPair v) const {
        return TIFFSetField(tif, tag, static_cast<int>(v.page), static_cast<int>(v.total));
    }
};

}  // namespace

bool ApplyFieldSettings(TIFF* tif, const std::vector<FieldSetting>& fields) {
    bool allSet = true;
    for (const FieldSetting& f : fields)
        if (std::visit(FieldApplier{tif, f.tag}, f.value) != 1) allSet = false;
    return allSet;
}

}  // namespace tolvane
