#pragma once
// The two builds of the setup tool from one source: the current Ruddock.exe and
// the older Ruddset.exe. Everything that differs between them is a field here,
// so the code asks the variant instead of testing which build it is.

#include <string_view>

namespace tolvane {

struct SetupVariant {
    std::u16string_view programName;   // "Ruddock": caption, log, framework boxes
    std::u16string_view programFile;   // "Ruddock.exe", started by the shortcut
    std::u16string_view shortcutFile;  // "Ruddock.lnk"
    std::u16string_view version;       // "1.0.7.5"
    bool writesSetupLog;               // appends every entry to "Setup.log"
    bool hasPortDialogs;               // Port configuration opens the tool's own dialogs
    bool remembersLanguage;            // reads and writes DefLanguage in Setting.ini
    bool removesProgramFolder;         // the last removal deletes the install folder
    bool olderRasterFilesOn32Bit;      // the PellmarkSys.dll driver set on 32-bit systems
};

inline constexpr SetupVariant kRuddock{u"Ruddock", u"Ruddock.exe", u"Ruddock.lnk", u"1.0.7.5", false,
                                       true,       true,           true,           false};
inline constexpr SetupVariant kRuddset{u"Ruddset", u"Ruddset.exe", u"Ruddset.lnk", u"1.0.7.4", true,
                                       false,      false,          false,          true};

}  // namespace tolvane
