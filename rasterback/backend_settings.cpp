#include "rasterback/backend_settings.h"

namespace rasterback {

std::string settingsFilePath(const std::optional<std::string>& windirVariable, const std::string& windowsDirectory) {
    return (windirVariable ? *windirVariable : windowsDirectory) + "\\" + kSettingsFileName;
}

std::string readOutputPath(ProfileReader& profile) {
    return profile.readText("save", "outputfile", "c:\\test", kOutputFileMaxChars) + ".tif";
}

CompressionScheme readCompressionScheme(ProfileReader& profile) {
    return schemeFromSetting(profile.readInt("SYSTEM", "Compress", 1));
}

ShowState showStateFromSetting(int cmdShow) {
    switch (cmdShow) {
    case 0:
        return ShowState::Normal;
    case 1:
        return ShowState::Minimized;
    default:
        return ShowState::Hidden;
    }
}

FollowUpProgram readFollowUpProgram(ProfileReader& profile) {
    FollowUpProgram p{profile.readInt("run", "enablerun", 0) != 0, {}, ShowState::Normal};
    if (!p.enabled) return p;
    p.program = profile.readText("run", "exefilename", "", kProgramPathMaxChars);
    p.show = showStateFromSetting(profile.readInt("run", "CmdShow", 0));
    return p;
}

}  // namespace rasterback
