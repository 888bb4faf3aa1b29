#include "monitor/print_path/korrim_path.h"

namespace tolvane {

std::optional<std::u16string> DialogProgramPath(MonitorBitness bitness, std::u16string_view systemFolder) {
    while (!systemFolder.empty() && (systemFolder.back() == u'\\' || systemFolder.back() == u'/'))
        systemFolder.remove_suffix(1);
    if (systemFolder.empty()) return std::nullopt;
    std::u16string path(systemFolder);
    path += u'\\';
    if (bitness == MonitorBitness::k64) {
        path += kDialogProgramFolder64;
        path += u'\\';
    }
    path += kDialogProgramName;
    if (path.size() > kMaxDialogProgramPath) return std::nullopt;
    return path;
}

}  // namespace tolvane
