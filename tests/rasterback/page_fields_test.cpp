#include <gtest/gtest.h>

#include <tiffio.h>

#include "rasterback/page_fields.h"

namespace tolvane {
namespace {

std::vector<FieldSetting> commonFields(uint32_t width, uint32_t length, double x, double y) {
    return {
        {254, uint32_t{2}},
        {256, width},
        {257, length},
        {282, x},
        {283, y},
        {270, std::string_view("Ostrel")},
        {305, std::string_view(kSoftwareText)},
    };
}

TEST(PageFields, Group3SetsTheFaxFieldsInOrderAndKeepsTheGivenLabels) {
    auto expected = commonFields(1728, 1145, 204.0, 98.0);
    const std::vector<FieldSetting> faxFields = {
        {258, uint32_t{1}}, {277, uint32_t{1}}, {278, uint32_t{1145}}, {259, uint32_t{3}},          {292, uint32_t{1}},
        {262, uint32_t{0}}, {266, uint32_t{2}}, {284, uint32_t{1}},    {297, PageNumberPair{7, 0}}, {296, uint32_t{2}},
        {326, uint32_t{0}}, {327, uint32_t{0}}, {274, uint32_t{1}},    {326, uint32_t{0}},          {328, uint32_t{0}},
    };
    expected.insert(expected.end(), faxFields.begin(), faxFields.end());
    EXPECT_EQ(PageFieldSettings(CompressionScheme::Group3, 7, 1728, 1145, 204.0, 98.0), expected);
}

TEST(PageFields, Group4KeepsTheGivenLabelsAndUsesT6Options) {
    auto expected = commonFields(1728, 1145, 204.0, 98.0);
    const std::vector<FieldSetting> faxFields = {
        {258, uint32_t{1}}, {277, uint32_t{1}}, {278, uint32_t{1145}}, {259, uint32_t{4}},          {293, uint32_t{0}},
        {262, uint32_t{0}}, {266, uint32_t{2}}, {284, uint32_t{1}},    {297, PageNumberPair{3, 0}}, {296, uint32_t{2}},
        {326, uint32_t{0}}, {327, uint32_t{0}}, {274, uint32_t{1}},    {326, uint32_t{0}},          {328, uint32_t{0}},
    };
    expected.insert(expected.end(), faxFields.begin(), faxFields.end());
    EXPECT_EQ(PageFieldSettings(CompressionScheme::Group4, 3, 1728, 1145, 204.0, 98.0), expected);
}

TEST(PageFields, OtherSchemesSetOnlyTheCommonFields) {
    for (int setting : {0, 3, -1, 42}) {
        EXPECT_EQ(SchemeFromSetting(setting), CompressionScheme::None) << setting;
        EXPECT_EQ(PageFieldSettings(SchemeFromSetting(setting), 1, 10, 20, 300.0, 150.0),
                  commonFields(10, 20, 300.0, 150.0));
    }
    EXPECT_EQ(SchemeFromSetting(1), CompressionScheme::Group3);
    EXPECT_EQ(SchemeFromSetting(2), CompressionScheme::Group4);
}

TEST(PageFields, LibtiffAcceptsEveryFieldOfBothFaxSchemes) {
    for (CompressionScheme scheme : {CompressionScheme::Group3, CompressionScheme::Group4}) {
        TIFF* tif = TIFFOpen("/dev/null", "w");
        ASSERT_NE(tif, nullptr);
        EXPECT_TRUE(ApplyFieldSettings(tif, PageFieldSettings(scheme, 1, 1728, 10, 204.0, 98.0)));
        uint16_t page = 9, total = 9;
        ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_PAGENUMBER, &page, &total));
        EXPECT_EQ(page, 1);
        EXPECT_EQ(total, 0);
        TIFFClose(tif);
    }
}

}  // namespace
}  // namespace tolvane
