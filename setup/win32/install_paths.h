#pragma once
// The places the setup tool copies itself to, named from the Windows drive (the
// Windows directory's text up to its first backslash, "C:" for "C:\WINDOWS"):
// the install folder "<drive>\Program Files\Ruddset" (the same name for both
// builds and on 64-bit Windows), its "Setting.ini", and the Start-menu folder
// "Ruddset". Plain code, no Windows call.

#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::u16string_view kMenuFolderName = u"Ruddset";
inline constexpr std::u16string_view kSettingsFileName = u"Setting.ini";
inline constexpr std::u16string_view kLanguageFileName = u"Language.ini";

std::u16string WindowsDrive(std::u16string_view windowsDirectory);
std::u16string InstallFolder(std::u16string_view windowsDirectory);
std::u16string SettingsFile(std::u16string_view windowsDirectory);

}  // namespace tolvane
