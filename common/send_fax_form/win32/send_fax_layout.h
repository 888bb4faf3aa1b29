#pragma once
// Pixel layout (at 96 dpi) of the send-fax form and the recipient-name dialog.
// The templates in send_fax_form.rc are in dialog units, whose size depends on
// the font; the dialogs move every control to these positions when they open,
// scaled to the screen's dpi, so that the layout is the same on every system.

#include <windows.h>

#include <span>

namespace tolvane {

struct Placement {
    int id;
    int left, top, width, height;  // client coordinates of the dialog
};

struct PanelBand {
    int left, top, width, height;
    bool white;
};

inline constexpr SIZE kSendFaxClientSize{427, 372};
inline constexpr SIZE kRecipientNameClientSize{541, 84};

std::span<const Placement> SendFaxPlacements();
std::span<const PanelBand> SendFaxPanels();
std::span<const Placement> RecipientNamePlacements();

// Sizes the window's client area, moves the controls (scaled by dpi/96) and
// centres the window over `centreOn` (the work area of the screen when null).
void ApplyLayout(HWND dialog, SIZE clientSize, std::span<const Placement> placements, HWND centreOn);

// A pixel length at 96 dpi scaled to the screen's dpi.
int ScaleToScreen(int pixels);

}  // namespace tolvane
