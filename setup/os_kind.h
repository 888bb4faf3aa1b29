#pragma once
// The Windows version the setup tool reports on its main dialog and in its log.

#include <string>
#include <string_view>

namespace tolvane {

// The tool's kinds. Values 0 to 10 and their names are the tool's own; Windows 8
// and later, which the original table reports as "WinNT3", have values of
// their own so that the line names them for what they are.
enum class OsKind : int {
    kWin32s = 0,
    kWinNT3 = 1,
    kWin95 = 2,
    kWin98 = 3,
    kWinME = 4,
    kWinNT4 = 5,
    kWin2000 = 6,
    kWinXP = 7,
    kWin2003 = 8,
    kVista = 9,
    kWin7 = 10,
    kWin8 = 11,
    kWin81 = 12,
    kWin10 = 13,
};

// What the system says of its version. For NT systems the numbers are the true
// ones (RtlGetVersion), not what a manifest-less program is told.
struct OsVersion {
    bool isNt = true;
    unsigned major = 0;
    unsigned minor = 0;
};

OsKind ClassifyOs(const OsVersion& version);

// "Win32s" ... "WIN7", "Win8", "Win8.1", "Win10"; "Unknow" for any other value.
std::u16string_view OsDisplayName(int kind);

// The main dialog's OS line: the name, then "\t%d - bit" with a bitness of
// neither 0 nor -1, else "\tUnknow-bit".
std::u16string OsLine(int kind, int bitness);

}  // namespace tolvane
