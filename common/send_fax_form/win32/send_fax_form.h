#pragma once
// The send-fax form "Send FAX To" as a native Win32 dialog, and the "Job
// Confirm" box.
//
// Korrim.exe shows it between reading the requests and writing the answers.
// A module that shows the form in its own process (the 32-bit port monitor in
// its "0" presentation mode) does this:
//
//   1. Link the static library send_fax_form. It brings the form's logic
//      (send_fax_form_core, libjpeg) and its resources, compiled from
//      send_fax_form.rc: both dialog templates (IDD_FAXSEND,
//      IDD_RECIPIENTNAME) and the header picture (IDR_HEADER_JPEG).
//   2. Call ShowSendFaxForm with the module's own HINSTANCE, the one its
//      DllMain received, because that module holds the templates. Not
//      GetModuleHandle(NULL): inside the spooler that is the spooler's file.
//   3. After a Send with a confirmation wanted, show the result text with
//      ShowJobConfirmBox.
//
// The form runs its own modal loop on the calling thread, which needs no
// window of its own; the call returns when the user sends or cancels, or the
// countdown (180 s) cancels.

#include <windows.h>

#include <memory>
#include <string>

#include "common/pipe_conversation.h"
#include "common/send_fax_form/address_book.h"
#include "common/send_fax_form/countdown.h"
#include "common/send_fax_form/fax_dialog_flow.h"
#include "common/send_fax_form/win32/win32_file_access.h"

namespace tolvane {

// Shows the form filled from the nine requests (request 9 is not shown) and
// returns the answers: "2" alone after Cancel, Esc or the countdown; "1" and
// answers B to H after Send.
FaxAnswers ShowSendFaxForm(HINSTANCE resources, const FaxRequests& requests);

// The "Job Confirm" box: the text, an OK button, no owner window.
void ShowJobConfirmBox(std::u16string_view text);

class Win32SendFaxForm : public SendFaxFormPort {
public:
    explicit Win32SendFaxForm(HINSTANCE resources);
    ~Win32SendFaxForm() override;
    Win32SendFaxForm(const Win32SendFaxForm&) = delete;
    Win32SendFaxForm& operator=(const Win32SendFaxForm&) = delete;

    std::u16string Prepare(const FormRequest& request) override;
    bool ShowModal() override;
    FormFields Fields() override;
    void ShowJobConfirm(const std::u16string& text) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Build();
    void Fill(const FormRequest& request);
    void LoadAddressBook();
    void AddressBookPicked();
    void AddressBookTyped();
    void SaveNumber();
    void DeleteEntry();
    void CountdownTick();
    void CloseWindowsOpenedOverTheForm();
    void Close(int result);
    void PaintPanels();
    void ShowFileError(const std::string& message);
    std::wstring Text(int id) const;
    int SelectedIndex(int id) const;

    HINSTANCE resources_;
    HWND window_ = nullptr;
    HWND nameDialog_ = nullptr;
    int modalResult_ = 0;
    FormRequest request_;
    Countdown countdown_;
    Win32FileAccess files_;
    std::unique_ptr<AddressBook> addressBook_;
    HBITMAP picture_ = nullptr;
    HFONT titleFont_ = nullptr;
    HBRUSH whiteBrush_ = nullptr;
};

}  // namespace tolvane
