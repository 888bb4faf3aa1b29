#pragma once
// The port settings dialog (162) and the add-port dialog (103), shown by the
// setup tool for every port and by the monitor's user interface for the one
// port it is given. What the dialogs do to the machine goes through
// PortDialogActions; their texts through PortDialogText.

#include <windows.h>

#include <string>

#include "common/port_settings/port_dialog_actions.h"
#include "common/port_settings/port_dialog_texts.h"

namespace tolvane {

struct PortDialogContext {
    PortDialogActions& actions;
    PortDialogText text;
    std::u16string boxCaption;   // the caption of the dialogs' message boxes
    std::u16string initialPort;  // the port selected when the dialog opens; the first when empty
};

// Runs the port settings dialog modally with `owner` (may be null) as its
// owner; answers IDOK when it saved, IDCANCEL otherwise, -1 when the dialog
// could not be created (GetLastError tells why).
INT_PTR RunPortConfigDialog(HWND owner, PortDialogContext& context);

// Runs the add-port dialog modally; IDOK when a port was added.
INT_PTR RunAddPortDialog(HWND owner, PortDialogContext& context);

// The module whose resources hold the dialogs: the one this code is linked into.
HINSTANCE PortDialogModule();

}  // namespace tolvane
