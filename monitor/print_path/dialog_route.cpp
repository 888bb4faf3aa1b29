#include "monitor/print_path/dialog_route.h"

namespace tolvane {

DialogRoute ChooseDialogRoute(MonitorBitness bitness, std::u16string_view sysMode) {
    if (bitness == MonitorBitness::k64) return DialogRoute::kDialogProgram;
    if (sysMode == u"1") return DialogRoute::kDialogProgram;
    if (sysMode == u"2") return DialogRoute::kDialogProgramMonitorConfirms;
    return DialogRoute::kInProcessForm;
}

}  // namespace tolvane
