#include "common/send_fax_form/win32/send_fax_layout.h"

#include <array>

#include "common/send_fax_form/win32/send_fax_form_ids.h"

namespace tolvane {

namespace {

// The form's three bands: a white header whose top edge lies above the form,
// the field area and the button band. Controls are given relative to their
// band, as a designer would place them, and turned into form coordinates.
constexpr PanelBand kPanel1{0, -16, 433, 105, true};
constexpr PanelBand kPanel2{-8, 90, 441, 239, false};
constexpr PanelBand kPanel3{-8, 330, 441, 41, false};

constexpr Placement In(const PanelBand& panel, int id, int left, int top, int width, int height) {
    return {id, panel.left + left, panel.top + top, width, height};
}

// Combo boxes get the height of their drop-down list too; their visible edit
// line is 21 pixels high with the form's font.
constexpr int kDropDownHeight = 160;

constexpr std::array<Placement, 21> kSendFax{{
    In(kPanel1, IDC_IMAGE1, 16, 32, 64, 64),
    In(kPanel1, IDC_LABEL4, 112, 48, 225, 24),
    In(kPanel1, IDC_DOCUMENT, 112, 80, 257, 13),
    In(kPanel2, IDC_LABEL1, 0, 20, 76, 13),
    In(kPanel2, IDC_FAXNUMBER, 80, 16, 209, 21),
    In(kPanel2, IDC_TOADDRESSBOOK, 296, 16, 89, 21),
    In(kPanel2, IDC_ABNAMES, 80, 48, 209, kDropDownHeight),
    In(kPanel2, IDC_DELETEFROMAB, 296, 48, 89, 21),
    In(kPanel2, IDC_LABEL2, 8, 84, 66, 13),
    In(kPanel2, IDC_SENDER, 80, 80, 209, 21),
    In(kPanel2, IDC_LINE, 16, 116, 58, 13),
    In(kPanel2, IDC_MODEM, 80, 112, 209, kDropDownHeight),
    In(kPanel2, IDC_LABEL5, 8, 148, 66, 13),
    In(kPanel2, IDC_RESOLUTION, 80, 144, 209, kDropDownHeight),
    In(kPanel2, IDC_LABEL6, 16, 180, 57, 13),
    In(kPanel2, IDC_PRIORITY, 80, 176, 209, kDropDownHeight),
    In(kPanel2, IDC_LABEL3, 0, 212, 75, 13),
    In(kPanel2, IDC_NOTIFYEMAIL, 80, 208, 305, 21),
    In(kPanel3, IDOK, 80, 8, 75, 25),
    In(kPanel3, IDCANCEL, 168, 8, 75, 25),
    In(kPanel3, IDC_TIMETOCANCEL, 264, 16, 137, 13),
}};

constexpr std::array<PanelBand, 3> kPanels{kPanel1, kPanel2, kPanel3};

constexpr std::array<Placement, 5> kRecipientName{{
    {IDC_NAME_LABEL1, 0, 20, 186, 13},
    {IDC_NAME_FAXNUMBER, 192, 16, 121, 21},
    {IDC_NAME_RECIPIENTNAME, 328, 16, 193, 21},
    {IDC_NAME_OK, 192, 48, 75, 25},
    {IDCANCEL, 280, 48, 75, 25},
}};

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

std::span<const Placement> SendFaxPlacements() { return kSendFax; }
std::span<const PanelBand> SendFaxPanels() { return kPanels; }
std::span<const Placement> RecipientNamePlacements() { return kRecipientName; }

int ScaleToScreen(int pixels) { return MulDiv(pixels, ScreenDpi(), 96); }

void ApplyLayout(HWND dialog, SIZE clientSize, std::span<const Placement> placements, HWND centreOn) {
    for (const Placement& placement : placements) {
        HWND control = GetDlgItem(dialog, placement.id);
        if (!control) continue;
        MoveWindow(control, ScaleToScreen(placement.left), ScaleToScreen(placement.top), ScaleToScreen(placement.width),
                   ScaleToScreen(placement.height), FALSE);
    }
    RECT frame{0, 0, ScaleToScreen(clientSize.cx), ScaleToScreen(clientSize.cy)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT area{};
    if (centreOn) {
        GetWindowRect(centreOn, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int left = area.left + ((area.right - area.left) - width) / 2;
    const int top = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tolvane
