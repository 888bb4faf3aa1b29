#include "setup/os_kind.h"

#include <gtest/gtest.h>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

TEST(OsKindTest, EveryVersionHasItsKindAndName) {
    struct Row {
        OsVersion version;
        const char* name;
    };
    const Row rows[] = {
        {{false, 3, 95}, "Win32s"}, {{false, 4, 0}, "Win95"}, {{false, 4, 3}, "Win95"},  {{false, 4, 10}, "Win98"},
        {{false, 4, 90}, "WinME"},  {{false, 5, 0}, "Win95"}, {{true, 3, 51}, "WinNT3"}, {{true, 4, 0}, "WinNT4"},
        {{true, 5, 0}, "Win2000"},  {{true, 5, 1}, "WinXP"},  {{true, 5, 2}, "Win2003"}, {{true, 5, 3}, "WinNT3"},
        {{true, 6, 0}, "VISTA"},    {{true, 6, 1}, "WIN7"},   {{true, 6, 2}, "Win8"},    {{true, 6, 3}, "Win8.1"},
        {{true, 6, 4}, "WinNT3"},   {{true, 10, 0}, "Win10"}, {{true, 11, 0}, "WinNT3"},
    };
    for (const Row& row : rows) {
        const int kind = static_cast<int>(ClassifyOs(row.version));
        EXPECT_EQ(testing::Narrow(OsDisplayName(kind)), row.name)
            << (row.version.isNt ? "NT " : "") << row.version.major << "." << row.version.minor;
    }
    EXPECT_EQ(static_cast<int>(OsKind::kWin7), 10) << "the tool's own values stay";
    EXPECT_EQ(OsDisplayName(-1), u"Unknow");
    EXPECT_EQ(OsDisplayName(14), u"Unknow");
}

TEST(OsKindTest, TheOsLineNamesTheBitnessOrSaysItIsUnknown) {
    EXPECT_EQ(OsLine(static_cast<int>(OsKind::kWin7), 64), u"WIN7\t64 - bit");
    EXPECT_EQ(OsLine(static_cast<int>(OsKind::kWinXP), 32), u"WinXP\t32 - bit");
    EXPECT_EQ(OsLine(static_cast<int>(OsKind::kWin81), -1), u"Win8.1\tUnknow-bit");
    EXPECT_EQ(OsLine(static_cast<int>(OsKind::kWin10), 0), u"Win10\tUnknow-bit");
    EXPECT_EQ(OsLine(99, 64), u"Unknow\t64 - bit");
}

}  // namespace
}  // namespace tolvane
