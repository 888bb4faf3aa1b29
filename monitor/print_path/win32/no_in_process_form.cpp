// The 64-bit build always asks through Korrim.exe: a 64-bit spooler shows no
// form in its own process.

#include "monitor/print_path/win32/dialog_conversation.h"

namespace tolvane {

std::unique_ptr<RecipientDialog> MakeInProcessFormDialog() {
    return std::make_unique<DialogProgramConversation>(false);
}

}  // namespace tolvane
