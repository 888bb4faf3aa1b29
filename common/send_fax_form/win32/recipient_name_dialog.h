#pragma once
// The "Recipient's Name" dialog: asks for the display name under which "Save
// Number" stores the current fax number. OK accepts; Cancel, Esc and the close
// box do not; Enter does nothing unless a button has the focus.

#include <windows.h>

#include <optional>
#include <string>

namespace tolvane {

// Shows the dialog modally over `owner`. While it is open, `*openDialog` holds
// its window, so the owner's countdown can cancel it; it is null again on
// return. The name is cut to the address book's field limit.
std::optional<std::wstring> AskRecipientName(HINSTANCE resources, HWND owner, const std::wstring& faxNumber,
                                             HWND* openDialog);

// Presses the dialog's Cancel button (the countdown's way to close it).
void CancelRecipientNameDialog(HWND dialog);

}  // namespace tolvane
