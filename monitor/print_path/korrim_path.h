#pragma once
// Where the monitor finds the dialog program Korrim.exe. The setup tool copies
// it with the shipped system folders: on 32-bit Windows into the system
// directory itself, on 64-bit Windows into the "Tolvane" folder of the 32-bit
// system directory (SysWOW64), since Korrim.exe is a 32-bit program. The folder
// comes from the running system, so an installation on any drive or under any
// Windows folder name is found.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::u16string_view kDialogProgramName = u"Korrim.exe";
inline constexpr std::u16string_view kDialogProgramFolder64 = u"Tolvane";
// CreateProcess takes an application path of at most this many characters.
inline constexpr std::size_t kMaxDialogProgramPath = 259;

enum class MonitorBitness { k32, k64 };

// The full path of Korrim.exe from the system folder the build uses: the
// system directory for the 32-bit build, the 32-bit system directory
// (GetSystemWow64Directory) for the 64-bit build. Nothing when the folder is
// empty or the path would be too long to start.
std::optional<std::u16string> DialogProgramPath(MonitorBitness bitness, std::u16string_view systemFolder);

}  // namespace tolvane
