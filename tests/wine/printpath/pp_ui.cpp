// The user at the desktop, for the print path tests and the demo: waits for
// the send-fax form ("Send FAX To"), from Korrim.exe or from the monitor
// itself, and answers it as a person would.
//
//   pp_ui send NUMBERS   types NUMBERS into the fax number field, presses Send,
//                        then reads the "Job Confirm" box and presses OK
//   pp_ui cancel         presses Cancel
//   pp_ui ignore         touches nothing and waits for the countdown to close it
//   pp_ui send-notice NUMBERS
//                        as send, then reads the "Fax not sent" notice instead
//   pp_ui kill           ends the process that shows the form, watches that no
//                        box of the spooler's ("host", "MainProcess") appears,
//                        and reads the "Fax not sent" notice
//   pp_ui many COUNT     waits until COUNT forms are up at the same time, then
//                        answers them from the last to appear to the first,
//                        each with 70NN for its document "Many N" (N as NN)
//
// It prints what it saw ("form: ...", "confirmation: ...") and exits 0 when
// every step happened.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "ui_driver.h"

namespace {

using namespace uitest;

constexpr int kFaxNumberField = 1005;  // IDC_FAXNUMBER of the form
constexpr int kDocumentLabel = 1003;   // IDC_DOCUMENT
constexpr int kMessageText = 0xFFFF;   // the text of a message box

DWORD TimeoutMs() {
    wchar_t value[16] = L"";
    if (GetEnvironmentVariableW(L"PP_UI_TIMEOUT_SECONDS", value, 16) > 0) return _wtoi(value) * 1000u;
    return 60000;
}

std::wstring OneLine(std::wstring text) {
    std::wstring line;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        line += c == L'\n' ? std::wstring(L" | ") : std::wstring(1, c);
    }
    return line;
}

HWND WaitForForm() {
    HWND form = WaitForDialog(L"Send FAX To", TimeoutMs());
    if (form == nullptr) {
        std::printf("ui: the send-fax form did not appear\n");
        return nullptr;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(form, &process);
    std::printf("form: shown by process %lu, document \"%ls\"\n", static_cast<unsigned long>(process),
                ControlText(form, kDocumentLabel).c_str());
    return form;
}

int Send(const std::wstring& numbers, bool expectConfirmation) {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    if (!TypeInto(form, kFaxNumberField, numbers)) {
        std::printf("ui: typing the fax numbers failed: the field shows \"%ls\"\n",
                    ControlText(form, kFaxNumberField).c_str());
        return 1;
    }
    std::printf("form: fax numbers \"%ls\" typed, Send pressed\n", numbers.c_str());
    Click(form, IDOK);
    if (!WaitUntilClosed(form, 10000)) {
        std::printf("ui: the form did not close after Send\n");
        return 1;
    }
    if (!expectConfirmation) return 0;
    HWND box = WaitForDialog(L"Job Confirm", TimeoutMs());
    if (box == nullptr) {
        std::printf("ui: no \"Job Confirm\" box appeared\n");
        return 1;
    }
    std::printf("confirmation: %ls\n", OneLine(ControlText(box, kMessageText)).c_str());
    std::fflush(stdout);
    Click(box, IDOK);
    if (!WaitUntilClosed(box, 10000)) {
        std::printf("ui: the \"Job Confirm\" box did not close\n");
        return 1;
    }
    return 0;
}

int Cancel() {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    Click(form, IDCANCEL);
    std::printf("form: Cancel pressed\n");
    return WaitUntilClosed(form, 10000) ? 0 : 1;
}

int Ignore() {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    const DWORD start = GetTickCount();
    if (!WaitUntilClosed(form, TimeoutMs())) {
        std::printf("ui: the form stayed open\n");
        return 1;
    }
    std::printf("form: closed by itself after %lu s\n", static_cast<unsigned long>((GetTickCount() - start) / 1000));
    return 0;
}

// The notice Korrim.exe shows for a fax that did not leave.
int ReadNotice() {
    HWND box = WaitForDialog(L"Fax not sent", TimeoutMs());
    if (box == nullptr) {
        std::printf("ui: no \"Fax not sent\" notice appeared\n");
        return 1;
    }
    std::printf("notice: %ls\n", OneLine(ControlText(box, kMessageText)).c_str());
    std::fflush(stdout);
    Click(box, IDOK);
    return WaitUntilClosed(box, 10000) ? 0 : 1;
}

int SendAndReadNotice(const std::wstring& numbers) {
    const int sent = Send(numbers, false);
    return sent != 0 ? sent : ReadNotice();
}

int KillTheForm() {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    DWORD id = 0;
    GetWindowThreadProcessId(form, &id);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == nullptr || !TerminateProcess(process, 9)) {
        std::printf("ui: cannot end process %lu\n", static_cast<unsigned long>(id));
        return 1;
    }
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    std::printf("form: Korrim.exe killed\n");
    // The spooler side reports the broken pipe to its trace, never in a box.
    int status = ReadNotice();
    const bool spoolerBox =
        FindWindowW(L"#32770", L"host") != nullptr || FindWindowW(L"#32770", L"MainProcess") != nullptr;
    std::printf("boxes: %s\n", spoolerBox ? "one from the spooler" : "none from the spooler");
    return spoolerBox ? 1 : status;
}

BOOL CALLBACK CollectForm(HWND window, LPARAM list) {
    auto& forms = *reinterpret_cast<std::vector<HWND>*>(list);
    if (IsWindowVisible(window) && WindowText(window) == L"Send FAX To" &&
        std::find(forms.begin(), forms.end(), window) == forms.end()) {
        forms.push_back(window);
    }
    return TRUE;
}

// "Document: Many 3" gives "7003".
std::wstring NumberFor(HWND form) {
    const std::wstring label = ControlText(form, kDocumentLabel);
    const std::size_t at = label.rfind(L' ');
    const int document = at == std::wstring::npos ? 0 : _wtoi(label.c_str() + at + 1);
    wchar_t number[8] = L"";
    std::swprintf(number, 8, L"70%02d", document);
    return number;
}

int AnswerManyInReverse(int count) {
    std::vector<HWND> forms;
    const DWORD start = GetTickCount();
    while (static_cast<int>(forms.size()) < count && GetTickCount() - start < TimeoutMs()) {
        EnumWindows(CollectForm, reinterpret_cast<LPARAM>(&forms));
        forms.erase(std::remove_if(forms.begin(), forms.end(), [](HWND form) { return !IsWindow(form); }), forms.end());
        Sleep(50);
    }
    std::printf("forms: %zu up at the same time\n", forms.size());
    if (static_cast<int>(forms.size()) < count) {
        std::printf("ui: only %zu of %d forms were up together\n", forms.size(), count);
        return 1;
    }
    int status = 0;
    for (auto form = forms.rbegin(); form != forms.rend(); ++form) {
        const std::wstring document = ControlText(*form, kDocumentLabel);
        const std::wstring number = NumberFor(*form);
        if (!TypeInto(*form, kFaxNumberField, number)) {
            std::printf("ui: typing into the form of \"%ls\" failed\n", document.c_str());
            status = 1;
            continue;
        }
        Click(*form, IDOK);
        const bool closed = WaitUntilClosed(*form, 10000);
        std::printf("form: \"%ls\" answered %ls%s\n", document.c_str(), number.c_str(), closed ? "" : ", stayed open");
        std::fflush(stdout);
        if (!closed) status = 1;
    }
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring action = argc > 1 ? argv[1] : L"";
    int status = 2;
    if (argc == 3 && action == L"send")
        status = Send(argv[2], true);
    else if (argc == 3 && action == L"send-quiet")
        status = Send(argv[2], false);
    else if (argc == 2 && action == L"cancel")
        status = Cancel();
    else if (argc == 2 && action == L"ignore")
        status = Ignore();
    else if (argc == 3 && action == L"send-notice")
        status = SendAndReadNotice(argv[2]);
    else if (argc == 2 && action == L"kill")
        status = KillTheForm();
    else if (argc == 3 && action == L"many")
        status = AnswerManyInReverse(_wtoi(argv[2]));
    else
        std::printf(
            "usage: pp_ui send NUMBERS | send-quiet NUMBERS | send-notice NUMBERS | cancel | ignore | kill | many "
            "COUNT\n");
    std::fflush(stdout);
    return status;
}
