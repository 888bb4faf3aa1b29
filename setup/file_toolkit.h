#pragma once
// The setup tool's file operations over the FileSystem interface: the embedded
// driver package, the shipped system folders, and the copy of the tool into
// its install folder.

#include <string>
#include <string_view>

#include "setup/setup_platform.h"

namespace tolvane {

// One embedded file: resource type and id, and the name it is written as.
struct EmbeddedFile {
    std::u16string_view type;
    int id;
    std::u16string_view fileName;
};

// The PostScript driver files of each bitness, in the order they are written
// and placed ("APLWMGS1.BPD", "APLWMGS1.PPD", "PS5UI.DLL", "PSCRIPT5.DLL",
// "PSCRIPT.HLP"), and the monitor of each bitness.
inline constexpr EmbeddedFile kDriverFiles32[] = {{u"WIN32", 134, u"APLWMGS1.BPD"},
                                                  {u"WIN32", 135, u"APLWMGS1.PPD"},
                                                  {u"WIN32", 136, u"PS5UI.DLL"},
                                                  {u"WIN32", 137, u"PSCRIPT5.DLL"},
                                                  {u"WIN32", 138, u"PSCRIPT.HLP"}};
inline constexpr EmbeddedFile kDriverFiles64[] = {{u"X64", 140, u"APLWMGS1.BPD"},
                                                  {u"X64", 141, u"APLWMGS1.PPD"},
                                                  {u"X64", 142, u"PS5UI.DLL"},
                                                  {u"X64", 143, u"PSCRIPT5.DLL"},
                                                  {u"X64", 144, u"PSCRIPT.HLP"}};
inline constexpr EmbeddedFile kMonitor32{u"MONITOR", 151, u"OstrelCaskel.dll"};
inline constexpr EmbeddedFile kMonitor64{u"MONITOR", 152, u"Caskel.dll"};

// `folder` + "\" + `name`.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// Writes the five driver files and then the monitor of the bitness into
// `folder`; the individual results are ignored.
void ExtractDriverPackage(FileSystem& files, bool is32Bit, std::u16string_view folder);

// Copies every file below `source` (recursing into sub-folders, files placed
// flat by their bare names) into the system directory. With bitness 64 and
// `native` set the copies run with the redirection off, reaching the native
// system directory; with `native` clear they go to system directory +
// "\Tolvane\" (the 32-bit side's "Tolvane" folder for a 32-bit process).
// False when the redirection switch is unavailable (the copy stops there, also
// from within a sub-folder); copy failures are ignored.
bool CopyFolderToSystemDir(FileSystem& files, int bitness, std::u16string_view source, bool native);

// Copies every file of `source` into the printer-driver directory `driverDir`
// (which ends in a backslash), sub-folders' files flat.
void CopyDriverFolder(FileSystem& files, std::u16string_view source, std::u16string_view driverDir);

// The tree of `source` into `destination` (folders created, files overwritten);
// errors are ignored. Nothing is copied when the two are the same folder, and
// a destination inside the source is not copied into itself.
void CopyTree(FileSystem& files, std::u16string_view source, std::u16string_view destination);
// Deletes the files and folders below `folder`, then the folder; errors are ignored.
void DeleteTree(FileSystem& files, std::u16string_view folder);

}  // namespace tolvane
