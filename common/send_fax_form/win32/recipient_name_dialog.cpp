#include "common/send_fax_form/win32/recipient_name_dialog.h"

#include "common/send_fax_form/csv_line.h"
#include "common/send_fax_form/win32/send_fax_form_ids.h"
#include "common/send_fax_form/win32/send_fax_layout.h"

namespace tolvane {

namespace {

struct NameDialogState {
    const std::wstring* faxNumber;
    HWND* openDialog;
    bool accepted = false;
    std::wstring name;
};

std::wstring ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<NameDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<NameDialogState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        *state->openDialog = dialog;
        ApplyLayout(dialog, kRecipientNameClientSize, RecipientNamePlacements(), GetWindow(dialog, GW_OWNER));
        SetDlgItemTextW(dialog, IDC_NAME_FAXNUMBER, state->faxNumber->c_str());
        SendDlgItemMessageW(dialog, IDC_NAME_RECIPIENTNAME, EM_LIMITTEXT, kCsvFieldLimit, 0);
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NAME_OK:
            state->accepted = true;
            state->name = ControlText(dialog, IDC_NAME_RECIPIENTNAME);
            EndDialog(dialog, IDC_NAME_OK);
            return TRUE;
        case IDCANCEL:
            state->accepted = false;
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDOK:  // Enter with no button focused: there is no default button
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> AskRecipientName(HINSTANCE resources, HWND owner, const std::wstring& faxNumber,
                                             HWND* openDialog) {
    NameDialogState state{&faxNumber, openDialog, false, {}};
    const INT_PTR result = DialogBoxParamW(resources, MAKEINTRESOURCEW(IDD_RECIPIENTNAME), owner, NameDialogProc,
                                           reinterpret_cast<LPARAM>(&state));
    *openDialog = nullptr;
    if (result != IDC_NAME_OK || !state.accepted) return std::nullopt;
    return state.name;
}

void CancelRecipientNameDialog(HWND dialog) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

}  // namespace tolvane
