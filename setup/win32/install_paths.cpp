#include "setup/win32/install_paths.h"

namespace tolvane {
std::u16string WindowsDrive(std::u16string_view windowsDirectory) {
    return std::u16string(windowsDirectory.substr(0, windowsDirectory.find(u'\\')));
}

std::u16string InstallFolder(std::u16string_view windowsDirectory) {
    return WindowsDrive(windowsDirectory) + u"\\Program Files\\" + std::u16string(kMenuFolderName);
}

std::u16string SettingsFile(std::u16string_view windowsDirectory) {
    return InstallFolder(windowsDirectory) + u"\\" + std::u16string(kSettingsFileName);
}

}  // namespace tolvane
