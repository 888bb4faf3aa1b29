#pragma once
// The keys of Calderine.ini that the raster back end reads, with their
// defaults and limits.

#include <optional>
#include <string>

#include "rasterback/page_fields.h"
#include "rasterback/profile_reader.h"

namespace tolvane {

constexpr const char* kSettingsFileName = "Calderine.ini";
constexpr std::size_t kOutputFileMaxChars = 520;
constexpr std::size_t kProgramPathMaxChars = 259;

// "windir" when the environment defines it, else the system's Windows folder,
// followed by "\Calderine.ini".
std::string SettingsFilePath(const std::optional<std::string>& windirVariable, const std::string& windowsDirectory);

// [save] outputfile (default "c:\test") with ".tif" appended.
std::string ReadOutputPath(ProfileReader& profile);

// [SYSTEM] Compress, default 1 (Group 3).
CompressionScheme ReadCompressionScheme(ProfileReader& profile);

enum class ShowState { Normal, Minimized, Hidden };

// [run] enablerun / exefilename / CmdShow: the follow-up program.
struct FollowUpProgram {
    bool enabled;
    std::string program;
    ShowState show;
};
FollowUpProgram ReadFollowUpProgram(ProfileReader& profile);

ShowState ShowStateFromSetting(int cmdShow);

}  // namespace tolvane
