#include "setup/os_kind.h"

#include <iterator>
#include <string>

namespace tolvane {

OsKind ClassifyOs(const OsVersion& version) {
    if (!version.isNt) {
        if (version.major < 4) return OsKind::kWin32s;
        if (version.major == 4 && version.minor == 10) return OsKind::kWin98;
        if (version.major == 4 && version.minor == 90) return OsKind::kWinME;
        return OsKind::kWin95;  // 4.0, and any other version of the non-NT line
    }
    switch (version.major) {
    case 4:
        return OsKind::kWinNT4;
    case 5:
        if (version.minor == 0) return OsKind::kWin2000;
        if (version.minor == 1) return OsKind::kWinXP;
        if (version.minor == 2) return OsKind::kWin2003;  // also XP x64 Edition
        break;
    case 6:
        if (version.minor == 0) return OsKind::kVista;
        if (version.minor == 1) return OsKind::kWin7;
        if (version.minor == 2) return OsKind::kWin8;
        if (version.minor == 3) return OsKind::kWin81;
        break;
    case 10:
        return OsKind::kWin10;  // Windows 11 reports 10.0 as well
    default:
        break;
    }
    return OsKind::kWinNT3;  // NT 3.x, and a version the table does not know
}

std::u16string_view OsDisplayName(int kind) {
    static constexpr std::u16string_view kNames[] = {u"Win32s", u"WinNT3",  u"Win95",  u"Win98",   u"WinME",
                                                     u"WinNT4", u"Win2000", u"WinXP",  u"Win2003", u"VISTA",
                                                     u"WIN7",   u"Win8",    u"Win8.1", u"Win10"};
    if (kind < 0 || kind >= static_cast<int>(std::size(kNames))) return u"Unknow";
    return kNames[kind];
}

std::u16string OsLine(int kind, int bitness) {
    std::u16string line(OsDisplayName(kind));
    if (bitness == 0 || bitness == -1) return line + u"\tUnknow-bit";
    const std::string digits = std::to_string(bitness);
    return line + u"\t" + std::u16string(digits.begin(), digits.end()) + u" - bit";
}

}  // namespace tolvane
