#include "rasterback/backend_settings.h"

namespace tolvane {

std::string SettingsFilePath(const std::optional<std::string>& windirVariable, const std::string& windowsDirectory) {
    return (windirVariable ? *windirVariable : windowsDirectory) + "\\" + kSettingsFileName;
}

std::string ReadOutputPath(ProfileReader& profile) {
    return profile.ReadText("save", "outputfile", "c:\\test", kOutputFileMaxChars) + ".tif";
}

CompressionScheme ReadCompressionScheme(ProfileReader& profile) {
    return SchemeFromSetting(profile.ReadInt("SYSTEM", "Compress", 1));
}

ShowState ShowStateFromSetting(int cmdShow) {
    switch (cmdShow) {
    case 0:
        return ShowState::Normal;
    case 1:
        return ShowState::Minimized;
    default:
        return ShowState::Hidden;
    }
}

FollowUpProgram ReadFollowUpProgram(ProfileReader& profile) {
    FollowUpProgram p{profile.ReadInt("run", "enablerun", 0) != 0, {}, ShowState::Normal};
    if (!p.enabled) return p;
    p.program = profile.ReadText("run", "exefilename", "", kProgramPathMaxChars);
    p.show = ShowStateFromSetting(profile.ReadInt("run", "CmdShow", 0));
    return p;
}

}  // namespace tolvane
