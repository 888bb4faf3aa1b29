// The send-fax form in the monitor's own process, for the 32-bit build's
// presentation mode "0": the same form Korrim.exe shows, from the templates
// compiled into this library.

#include "monitor/print_path/win32/dialog_conversation.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"
#include "common/send_fax_form/win32/send_fax_form.h"

namespace tolvane {

namespace {

BOOL CALLBACK NoteWindow(HWND, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// Tells whether the form's window could be created at all: a thread without a
// usable desktop gets none, and its "closed without Send" must not count as
// the user's Cancel.
class WatchedForm final : public SendFaxFormPort {
public:
    WatchedForm() : form_(MonitorModule()) {}
    std::u16string Prepare(const FormRequest& request) override {
        std::u16string boxText = form_.Prepare(request);
        EnumThreadWindows(GetCurrentThreadId(), NoteWindow, reinterpret_cast<LPARAM>(&shown_));
        return boxText;
    }
    bool ShowModal() override { return form_.ShowModal(); }
    FormFields Fields() override { return form_.Fields(); }
    void ShowJobConfirm(const std::u16string& text) override { form_.ShowJobConfirm(text); }
    bool Shown() const { return shown_; }

private:
    Win32SendFaxForm form_;
    bool shown_ = false;
};

class InProcessFormDialog final : public RecipientDialog {
public:
    bool Ask(const FaxRequests& requests, FaxAnswers& answers) override {
        WatchedForm form;
        answers = RunSendFaxForm(form, requests);
        if (!form.Shown()) {
            TraceStep(L"the send-fax form could not be shown in the monitor's process (error %lu)", GetLastError());
            return false;
        }
        TraceStep(L"form answered \"%ls\"", AsWide(answers.result));
        return true;
    }
    void Confirm(std::u16string_view text) override { ShowJobConfirmMessage(text); }
    // The form was shown in this process, so its boxes are seen here too.
    bool Notify(std::u16string_view text) override { return ShowMonitorMessage(text, kNoticeCaption); }
};

}  // namespace

std::unique_ptr<RecipientDialog> MakeInProcessFormDialog() { return std::make_unique<InProcessFormDialog>(); }

}  // namespace tolvane
