// The user at the desktop, for the print path tests and the demo: waits for
// the send-fax form ("Send FAX To"), from Korrim.exe or from the monitor
// itself, and answers it as a person would.
//
//   pp_ui send NUMBERS   types NUMBERS into the fax number field, presses Send,
//                        then reads the "Job Confirm" box and presses OK
//   pp_ui cancel         presses Cancel
//   pp_ui ignore         touches nothing and waits for the countdown to close it
//
// It prints what it saw ("form: ...", "confirmation: ...") and exits 0 when
// every step happened.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFaxNumberField = 1005;  // IDC_FAXNUMBER of the form
constexpr int kDocumentLabel = 1003;   // IDC_DOCUMENT
constexpr int kMessageText = 0xFFFF;   // the text of a message box

DWORD TimeoutMs() {
    wchar_t value[16] = L"";
    if (GetEnvironmentVariableW(L"PP_UI_TIMEOUT_SECONDS", value, 16) > 0) return _wtoi(value) * 1000u;
    return 60000;
}

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowW(L"#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool WaitUntilClosed(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

std::wstring Text(HWND window) {
    std::vector<wchar_t> buffer(16384, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                        2000, &length);
    return buffer.data();
}

std::wstring OneLine(std::wstring text) {
    std::wstring line;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        line += c == L'\n' ? std::wstring(L" | ") : std::wstring(1, c);
    }
    return line;
}

void Key(WORD virtualKey, wchar_t unicode) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    if (unicode != 0) {
        inputs[0].ki.wScan = inputs[1].ki.wScan = unicode;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    } else {
        inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(30);
}

// Clicks into the field and types, as a person does; checks what arrived.
bool TypeInto(HWND form, int id, const std::wstring& text) {
    HWND field = GetDlgItem(form, id);
    SetForegroundWindow(form);
    Sleep(150);
    PostMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    Sleep(150);
    for (wchar_t c : text) Key(0, c);
    Sleep(200);
    for (int i = 0; i < 20 && Text(field) != text; ++i) Sleep(50);
    return Text(field) == text;
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
                Text(GetDlgItem(form, kDocumentLabel)).c_str());
    return form;
}

int Send(const std::wstring& numbers, bool expectConfirmation) {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    if (!TypeInto(form, kFaxNumberField, numbers)) {
        std::printf("ui: typing the fax numbers failed: the field shows \"%ls\"\n",
                    Text(GetDlgItem(form, kFaxNumberField)).c_str());
        return 1;
    }
    std::printf("form: fax numbers \"%ls\" typed, Send pressed\n", numbers.c_str());
    PostMessageW(GetDlgItem(form, IDOK), BM_CLICK, 0, 0);
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
    std::printf("confirmation: %ls\n", OneLine(Text(GetDlgItem(box, kMessageText))).c_str());
    std::fflush(stdout);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    if (!WaitUntilClosed(box, 10000)) {
        std::printf("ui: the \"Job Confirm\" box did not close\n");
        return 1;
    }
    return 0;
}

int Cancel() {
    HWND form = WaitForForm();
    if (form == nullptr) return 1;
    PostMessageW(GetDlgItem(form, IDCANCEL), BM_CLICK, 0, 0);
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring action = argc > 1 ? argv[1] : L"";
    int status = 2;
    if (argc == 3 && action == L"send") status = Send(argv[2], true);
    else if (argc == 3 && action == L"send-quiet") status = Send(argv[2], false);
    else if (argc == 2 && action == L"cancel") status = Cancel();
    else if (argc == 2 && action == L"ignore") status = Ignore();
    else std::printf("usage: pp_ui send NUMBERS | send-quiet NUMBERS | cancel | ignore\n");
    std::fflush(stdout);
    return status;
}
