// Korrim.exe under Wine, driven like a person: this program is the host of the
// conversation (it creates the pipe with the host role of Pipe, starts
// Korrim.exe, sends the nine requests and reads the answers) and, on a second
// thread, the user (ui_driver.h). Each scenario prints its checks and exits 0
// only when all of them held. suite.sh runs the scenarios.
//
//   recipient_wine_test.exe SCENARIO
//
// Helper roles used by the scenarios themselves: "idle" (a launched process
// that never connects), "exit-now" (one that ends at once).

#include <windows.h>

#include <aclapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/conversation_pipe_name.h"
#include "common/text.h"
#include "common/win32/pipe.h"
#include "common/win32/pipe_security.h"
#include "common/send_fax_form/win32/send_fax_form.h"
#include "common/send_fax_form/win32/send_fax_form_ids.h"
#include "ui_driver.h"

using namespace tolvane;
using namespace uitest;

namespace {

int failures = 0;

bool Check(bool condition, const std::string& what) {
    std::printf("  %s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!condition) ++failures;
    return condition;
}

std::string Narrow(std::wstring_view text) { return NarrowForLog(std::u16string(text.begin(), text.end())); }
std::string Narrow(std::u16string_view text) { return NarrowForLog(text); }
std::string Narrow(const std::string& text) { return text; }

template <typename A, typename B>
void CheckEqual(const A& actual, const B& expected, const std::string& what) {
    const bool equal = actual == expected;
    Check(equal, what + (equal ? "" : " (got \"" + Narrow(actual) + "\", want \"" + Narrow(expected) + "\")"));
}

const std::wstring kPipeName = L"\\\\.\\pipe\\Caskel";
const std::wstring kTestRoot = L"C:\\tolvane-recipient";

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

FaxRequests TypicalRequests(const std::wstring& folder, const char16_t* confirm = u"1") {
    FaxRequests requests;
    requests.addressBookType = u"1";
    requests.addressBookFolder = U16(folder);
    requests.documentName = u"Quarterly report.ps";
    requests.line = u"2";
    requests.sender = u"";
    requests.resolution = u"0";
    requests.priority = u"3";
    requests.notifyEmail = u"ops@example.org";
    requests.confirmation = confirm;
    return requests;
}

// One conversation as the host, with the failures recorded instead of shown.
struct HostRun {
    FaxRequests requests;
    std::u16string confirmation = u"2 jobs queued";
    ClientLaunch launch;
    std::wstring pipeName = kPipeName;
    bool onlyActingUser = false;

    bool opened = false;
    DWORD openError = 0;
    FaxAnswers answers;
    std::vector<std::u16string> alerts;
    bool clientClosedAfterwards = false;
    DWORD clientExitCode = STILL_ACTIVE;
    DWORD clientProcessId = 0;
};

void RunHost(HostRun& run) {
    auto record = [&run](std::u16string_view text, std::u16string_view) { run.alerts.emplace_back(text); };
    Pipe pipe(/*isHost=*/true, run.pipeName, record);
    pipe.SetClientLaunch(run.launch);
    if (run.onlyActingUser) pipe.SetOnlyActingUserMayConnect();
    // The host launches the client as the user its thread impersonates.
    ImpersonateSelf(SecurityImpersonation);
    run.opened = pipe.Open();
    RevertToSelf();
    run.openError = pipe.LastError();
    run.clientProcessId = pipe.ClientProcessId();
    if (!run.opened) return;
    HANDLE client = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pipe.ClientProcessId());
    SendRequests(pipe.Peer(), run.requests);
    ReceiveAnswers(pipe.Peer(), run.answers);
    if (run.answers.IsSend() && run.requests.confirmation == u"1") SendConfirmation(pipe.Peer(), run.confirmation);
    const std::size_t alertsBefore = run.alerts.size();
    std::u16string more;
    run.clientClosedAfterwards = !pipe.Read(more);  // nothing more may come
    run.alerts.resize(alertsBefore);
    pipe.Close();
    if (client) {
        if (WaitForSingleObject(client, 15000) == WAIT_OBJECT_0) GetExitCodeProcess(client, &run.clientExitCode);
        CloseHandle(client);
    }
}

void CheckCleanEnd(const HostRun& run) {
    Check(run.alerts.empty(), "no pipe failure on the host side");
    Check(run.clientClosedAfterwards, "the client wrote nothing more and closed its end");
    Check(run.clientExitCode == 0, "Korrim.exe exited with code 0");
}

void CheckAnswers(const FaxAnswers& answers, const std::vector<std::u16string>& expected) {
    std::vector<std::u16string> actual{answers.result};
    if (answers.IsSend()) {
        for (const std::u16string* detail : answers.DetailsInOrder()) actual.push_back(*detail);
    }
    std::u16string joined, wanted;
    for (const auto& a : actual) joined += u"[" + a + u"]";
    for (const auto& e : expected) wanted += u"[" + e + u"]";
    CheckEqual(joined, wanted, "answers");
}

// The send-fax form and the name dialog, waited for; each counts as a check.
HWND ShownForm(const std::string& what = "the form appeared") {
    HWND form = WaitForDialog(L"Send FAX To");
    Check(form != nullptr, what);
    return form;
}

HWND ShownNameDialog() {
    HWND names = WaitForDialog(L"Recipient's Name");
    Check(names != nullptr, "the name dialog opened");
    return names;
}

// Runs the host on this thread and the user on another.
void Converse(HostRun& run, const std::function<void()>& user) {
    std::thread driver(user);
    RunHost(run);
    driver.join();
}

std::wstring Folder(const wchar_t* name) {
    CreateDirectoryW(kTestRoot.c_str(), nullptr);
    return kTestRoot + L"\\" + name;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content(65536, '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

void WriteFileBytes(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

// The countdown may be shortened for tests through the user's environment,
// which is where the launched client's environment block comes from.
struct ShortCountdown {
    explicit ShortCountdown(const wchar_t* seconds) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            RegSetValueExW(key, L"KORRIM_TEST_COUNTDOWN_SECONDS", 0, REG_SZ, reinterpret_cast<const BYTE*>(seconds),
                           static_cast<DWORD>((wcslen(seconds) + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
        SetEnvironmentVariableW(L"KORRIM_TEST_COUNTDOWN_SECONDS", seconds);
    }
    ~ShortCountdown() {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Environment", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"KORRIM_TEST_COUNTDOWN_SECONDS");
            RegCloseKey(key);
        }
        SetEnvironmentVariableW(L"KORRIM_TEST_COUNTDOWN_SECONDS", nullptr);
    }
};

// ---- scenarios -----------------------------------------------------------

void SendWithNumberListAndConfirmation() {
    HostRun run;
    run.requests = TypicalRequests(Folder(L"send"));
    std::wstring confirmText;
    Converse(run, [&] {
        HWND form = ShownForm("the form \"Send FAX To\" appeared");
        if (!form) return;
        CheckEqual(ControlText(form, IDC_DOCUMENT), std::wstring(L"Document: Quarterly report.ps"), "document caption");
        CheckEqual(ControlText(form, IDC_SENDER), std::wstring(L" "), "empty sender arrived as one space");
        CheckEqual(ControlText(form, IDC_MODEM), std::wstring(L"FAX2"), "line 2 selected");
        CheckEqual(ControlText(form, IDC_RESOLUTION), std::wstring(L"Standard"), "resolution 0 selected");
        CheckEqual(ControlText(form, IDC_PRIORITY), std::wstring(L"Highest"), "priority 3 selected");
        CheckEqual(ControlText(form, IDC_ABNAMES), std::wstring(L"Select from AddressBook"), "address-book box");
        Check(SendDlgItemMessageW(form, IDC_IMAGE1, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, "header picture decoded");
        Check(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST, "form stays on top");
        Check(!(GetWindowLongW(form, GWL_STYLE) & WS_SYSMENU), "form has no close box");
        RECT client{};
        GetClientRect(form, &client);
        Check(client.right == 427 && client.bottom == 372, "client area 427x372");
        Focus(form);
        TypeText(L"Sales@5551234;5559876");
        PressKey(VK_TAB);  // to the address-book box
        PressKey(VK_RETURN);
        Check(WaitUntilClosed(form), "Enter sent the form");
        HWND box = WaitForDialog(L"Job Confirm");
        Check(box != nullptr, "the \"Job Confirm\" box appeared");
        if (!box) return;
        confirmText = ControlText(box, 0xFFFF);
        Focus(box);
        PressKey(VK_RETURN);
        Check(WaitUntilClosed(box), "the confirmation box was dismissed with Enter");
    });
    Check(run.opened, "host opened the pipe and Korrim.exe connected");
    CheckAnswers(run.answers, {u"1", u"Sales@5551234;5559876", u".", u"2", u" ", u"0", u"3", u"ops@example.org"});
    CheckEqual(confirmText, std::wstring(L"2 jobs queued"), "confirmation text shown");
    CheckCleanEnd(run);
}

// The user types a number and closes the form with `close`: only "2" goes
// back, and no confirmation is read even though one was asked for.
void CancelledBy(const wchar_t* folder, void (*close)(HWND form), const std::string& what) {
    HostRun run;
    run.requests = TypicalRequests(Folder(folder));
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"5551234");
        close(form);
        Check(WaitUntilClosed(form), what + " closed the form");
    });
    CheckAnswers(run.answers, {u"2"});
    Check(FindWindowW(L"#32770", L"Job Confirm") == nullptr, "no confirmation after " + what);
    CheckCleanEnd(run);
}

void CancelButton() {
    CancelledBy(
        L"cancel", [](HWND form) { Click(form, IDCANCEL); }, "Cancel");
}

void EscapeKey() {
    CancelledBy(
        L"esc", [](HWND) { PressKey(VK_ESCAPE); }, "Esc");
}

void CountdownExpires() {
    ShortCountdown shortened(L"3");
    HostRun run;
    run.requests = TypicalRequests(Folder(L"countdown"));
    DWORD shownAt = 0, closedAt = 0;
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        shownAt = GetTickCount();
        Check(WaitForText(form, IDC_TIMETOCANCEL, L"Time To Cancel:2"), "first tick shows 2");
        Check(WaitForText(form, IDC_TIMETOCANCEL, L"Time To Cancel:1"), "then 1");
        Check(WaitForText(form, IDC_TIMETOCANCEL, L"Time To Cancel:0"), "then 0");
        Check(WaitUntilClosed(form), "the form cancelled itself");
        closedAt = GetTickCount();
    });
    CheckAnswers(run.answers, {u"2"});
    Check(closedAt - shownAt >= 2500 && closedAt - shownAt < 8000, "cancelled on the 4th tick of a 3-second count");
    CheckCleanEnd(run);
}

void CountdownClosesTheNameDialogFirst() {
    ShortCountdown shortened(L"3");
    const std::wstring folder = Folder(L"countdown-name");
    HostRun run;
    run.requests = TypicalRequests(folder);
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"5550000");
        Click(form, IDC_TOADDRESSBOOK);
        HWND names = ShownNameDialog();
        if (!names) return;
        Check(WaitUntilClosed(names), "the countdown closed the name dialog");
        Check(WaitUntilClosed(form), "then the form");
    });
    CheckAnswers(run.answers, {u"2"});
    CheckEqual(ReadFileBytes(folder + L"\\numbers.csv"), std::string(""), "nothing saved");
    CheckCleanEnd(run);
}

void SaveNumberUnderAName() {
    const std::wstring folder = Folder(L"book");
    HostRun run;
    run.requests = TypicalRequests(folder, u"0");
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"5551234");
        Click(form, IDC_TOADDRESSBOOK);
        HWND names = ShownNameDialog();
        if (!names) return;
        CheckEqual(ControlText(names, IDC_NAME_FAXNUMBER), std::wstring(L"5551234"), "it shows the number");
        CheckEqual(ControlText(names, IDC_NAME_RECIPIENTNAME), std::wstring(L"RecipientName"), "layout's name text");
        Focus(names);
        TypeText(L"Smith, John");  // replaces the selected layout text
        PressKey(VK_RETURN);       // no default button: Enter does nothing
        Check(IsWindowVisible(names), "Enter did not accept the name dialog");
        Click(names, IDC_NAME_OK);
        Check(WaitUntilClosed(names), "OK closed the name dialog");
        Check(WaitForText(form, IDC_ABNAMES, L"Smith, John"), "the box shows the saved name");
        Click(form, IDOK);
        Check(WaitUntilClosed(form), "Send closed the form");
    });
    CheckAnswers(run.answers, {u"1", u"5551234", u"Smith, John", u"2", u" ", u"0", u"3", u"ops@example.org"});
    CheckEqual(ReadFileBytes(folder + L"\\numbers.csv"), std::string("\"Smith, John\",\"5551234\"\r\n"),
               "numbers.csv holds the quoted entry");
    CheckCleanEnd(run);
}

void PickTheSavedName() {
    const std::wstring folder = Folder(L"book");
    HostRun run;
    run.requests = TypicalRequests(folder, u"0");
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        const auto count = SendDlgItemMessageW(form, IDC_ABNAMES, CB_GETCOUNT, 0, 0);
        Check(count == 1, "the second run loaded one entry");
        Focus(form);
        PressKey(VK_TAB);   // to the address-book box
        PressKey(VK_DOWN);  // picks the first entry
        Check(WaitForText(form, IDC_FAXNUMBER, L"5551234"), "picking the name filled the fax number");
        CheckEqual(ControlText(form, IDC_ABNAMES), std::wstring(L"Smith, John"), "the name survived the reload");
        PressKey(VK_RETURN);
        Check(WaitUntilClosed(form), "Enter sent the form");
    });
    CheckAnswers(run.answers, {u"1", u"5551234", u"Smith, John", u"2", u" ", u"0", u"3", u"ops@example.org"});
    CheckCleanEnd(run);
}

void DeleteTheEntry() {
    const std::wstring folder = Folder(L"book");
    HostRun run;
    run.requests = TypicalRequests(folder, u"0");
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        PressKey(VK_TAB);
        PressKey(VK_DOWN);
        Check(WaitForText(form, IDC_FAXNUMBER, L"5551234"), "entry picked");
        Click(form, IDC_DELETEFROMAB);
        Check(WaitForText(form, IDC_ABNAMES, L""), "the box is empty after the delete");
        CheckEqual(ControlText(form, IDC_FAXNUMBER), std::wstring(L""), "the fax number is empty too");
        Focus(form);
        PressShiftTab();  // the click left the focus on "Delete Entry"
        PressShiftTab();
        TypeText(L"777");
        Click(form, IDOK);
        Check(WaitUntilClosed(form), "Send closed the form");
    });
    CheckAnswers(run.answers, {u"1", u"777", u" ", u"2", u" ", u"0", u"3", u"ops@example.org"});
    CheckEqual(ReadFileBytes(folder + L"\\numbers.csv"), std::string(""), "numbers.csv is empty again");
    CheckCleanEnd(run);
}

void OldCsvLinesAndTextFiles() {
    // A CSV file written by earlier versions, and the two-file type.
    const std::wstring csvFolder = Folder(L"old-csv");
    CreateDirectoryW(csvFolder.c_str(), nullptr);
    WriteFileBytes(csvFolder + L"\\numbers.csv", "\"Alice\",\"111\"\nBob,222\r\n");
    HostRun run;
    run.requests = TypicalRequests(csvFolder, u"0");
    run.requests.line = u"9";  // beyond "FoIP4": no line selected
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Check(SendDlgItemMessageW(form, IDC_ABNAMES, CB_GETCOUNT, 0, 0) == 2, "two entries from the old file");
        CheckEqual(ControlText(form, IDC_MODEM), std::wstring(L""), "line 9 leaves the line box empty");
        Focus(form);
        PressKey(VK_TAB);
        PressKey(VK_DOWN);
        PressKey(VK_DOWN);
        Check(WaitForText(form, IDC_FAXNUMBER, L"222"), "the unquoted line's number");
        PressKey(VK_RETURN);
        Check(WaitUntilClosed(form), "Enter sent the form");
    });
    CheckAnswers(run.answers, {u"1", u"222", u"Bob", u"-1", u" ", u"0", u"3", u"ops@example.org"});
    CheckCleanEnd(run);

    const std::wstring textFolder = Folder(L"text-files");
    HostRun textRun;
    textRun.requests = TypicalRequests(textFolder, u"0");
    textRun.requests.addressBookType = u"0";
    Converse(textRun, [&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"888");
        Click(form, IDC_TOADDRESSBOOK);
        HWND names = ShownNameDialog();
        if (!names) return;
        Click(names, IDC_NAME_OK);  // accepted without editing
        Check(WaitUntilClosed(names), "OK closed the name dialog");
        Click(form, IDCANCEL);
        Check(WaitUntilClosed(form), "Cancel closed the form");
    });
    CheckAnswers(textRun.answers, {u"2"});
    CheckEqual(ReadFileBytes(textFolder + L"\\names.txt"), std::string("RecipientName\r\n"), "names.txt");
    CheckEqual(ReadFileBytes(textFolder + L"\\numbers.txt"), std::string("888\r\n"), "numbers.txt");
}

// The countdown ends while an error box of the form waits for an answer: the
// box closes, and the form cancels and answers. Once for a box of the address
// book's loading (the form not yet shown), once for a save refused by a
// read-only numbers.txt, which leaves both files as they were.
void CountdownClosesErrorBoxes() {
    auto expireIn = [](const std::string& what) {
        HWND box = WaitForDialog(L"Korrim");
        if (!Check(box != nullptr, what + ": an error box is open")) return std::wstring();
        const std::wstring text = ControlText(box, 0xFFFF);
        if (!Check(WaitUntilClosed(box, 20000), what + ": the countdown closed it")) Click(box, IDOK);
        return text;
    };
    ShortCountdown shortened(L"2");
    HostRun loading;
    loading.requests = TypicalRequests(Folder(L"no-such-parent") + L"\\book");
    Converse(loading, [&] { expireIn("loading"); });
    CheckAnswers(loading.answers, {u"2"});
    CheckCleanEnd(loading);

    const std::wstring folder = Folder(L"read-only-numbers");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(folder + L"\\names.txt", "Alice\r\n");
    WriteFileBytes(folder + L"\\numbers.txt", "111\r\n");
    SetFileAttributesW((folder + L"\\numbers.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ShortCountdown longer(L"8");
    HostRun saving;
    saving.requests = TypicalRequests(folder);
    saving.requests.addressBookType = u"0";
    std::wstring boxText;
    Converse(saving, [&] {
        HWND form = ShownForm();
        if (!form || !Check(TypeInto(form, IDC_FAXNUMBER, L"5552000"), "number typed")) return;
        Click(form, IDC_TOADDRESSBOOK);
        if (HWND names = ShownNameDialog()) Click(names, IDC_NAME_OK);
        boxText = expireIn("saving");
        Check(WaitUntilClosed(form, 20000), "saving: then the form cancelled itself");
    });
    CheckAnswers(saving.answers, {u"2"});
    Check(boxText.find(L"numbers.txt") != std::wstring::npos, "the box named numbers.txt: " + Narrow(boxText));
    Check(FindWindowW(L"#32770", L"Korrim") == nullptr, "no box remains");
    CheckCleanEnd(saving);
    CheckEqual(ReadFileBytes(folder + L"\\names.txt"), std::string("Alice\r\n"), "names.txt unchanged");
    CheckEqual(ReadFileBytes(folder + L"\\numbers.txt"), std::string("111\r\n"), "numbers.txt unchanged");
}

// A spreadsheet holds numbers.csv open for writing: the book still loads.
void BookHeldOpenByAnotherProgram() {
    const std::wstring folder = Folder(L"held-open");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(folder + L"\\numbers.csv", "\"Alice\",\"111\"\r\n\"Bob\",\"222\"\r\n");
    HANDLE spreadsheet = CreateFileW((folder + L"\\numbers.csv").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    Check(spreadsheet != INVALID_HANDLE_VALUE, "numbers.csv held open for writing");
    HostRun run;
    run.requests = TypicalRequests(folder, u"0");
    Converse(run, [&] {
        // A box of the loading would come first, with the form hidden.
        HWND form = nullptr, box = nullptr;
        for (const DWORD start = GetTickCount(); !form && !box && GetTickCount() - start < 10000;) {
            form = WaitForDialog(L"Send FAX To", 0);
            box = WaitForDialog(L"Korrim", 0);
        }
        if (!Check(box == nullptr,
                   "no error box at loading" + (box ? " (" + Narrow(ControlText(box, 0xFFFF)) + ")" : ""))) {
            Click(box, IDOK);
            form = ShownForm();
        }
        if (!form) return;
        Check(SendDlgItemMessageW(form, IDC_ABNAMES, CB_GETCOUNT, 0, 0) == 2, "both entries loaded");
        Click(form, IDCANCEL);
        Check(WaitUntilClosed(form), "Cancel closed the form");
    });
    CheckAnswers(run.answers, {u"2"});
    CheckCleanEnd(run);
    CloseHandle(spreadsheet);
}

// A number list longer than the CSV field is refused before a name is asked
// for; typing a name in full picks its number as a selection does.
void TypedNamesAndLongNumbers() {
    const std::wstring folder = Folder(L"typed");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string book = "\"Sales office\",\"5551234\"\r\n\"Smith, John\",\"5559876\"\r\n";
    WriteFileBytes(folder + L"\\numbers.csv", book);
    HostRun run;
    run.requests = TypicalRequests(folder, u"0");
    std::wstring refusal;
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        std::wstring twelveNumbers = L"00495551234";
        for (int i = 1; i < 12; ++i) twelveNumbers += L";00495551234";
        SetDlgItemTextW(form, IDC_FAXNUMBER, twelveNumbers.c_str());
        Click(form, IDC_TOADDRESSBOOK);
        HWND box = WaitForDialog(L"Korrim");
        if (Check(box != nullptr, "saving 12 numbers was refused with a box")) {
            refusal = ControlText(box, 0xFFFF);
            Click(box, IDOK);
            WaitUntilClosed(box);
        } else if (HWND names = FindWindowW(L"#32770", L"Recipient's Name")) {
            Click(names, IDCANCEL);  // the list went on to be saved: stop there
            WaitUntilClosed(names);
        }
        Check(TypeInto(form, IDC_FAXNUMBER, L"999"), "a number typed");
        Check(TypeInto(form, IDC_ABNAMES, L"Smith, John"), "a name typed in the address-book box");
        Check(WaitForText(form, IDC_FAXNUMBER, L"5559876"), "the typed name picked its number");
        Click(form, IDOK);
        Check(WaitUntilClosed(form), "Send closed the form");
    });
    Check(refusal.find(L"127") != std::wstring::npos, "the refusal names the limit: " + Narrow(refusal));
    CheckAnswers(run.answers, {u"1", u"5559876", u"Smith, John", u"2", u" ", u"0", u"3", u"ops@example.org"});
    CheckEqual(ReadFileBytes(folder + L"\\numbers.csv"), book, "numbers.csv unchanged");
    CheckCleanEnd(run);
}

// The host writes the requests and goes away: every answer write of the
// client fails and shows "Write pipe failed" captioned "host", and the run
// still ends normally.
void HostGoneBeforeTheAnswers() {
    auto ignore = [](std::u16string_view, std::u16string_view) {};
    Pipe pipe(/*isHost=*/true, kPipeName, ignore);
    std::vector<std::wstring> boxes;
    std::thread user([&] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"5551234");
        PressKey(VK_RETURN);
        while (HWND box = WaitForDialog(L"host", 5000)) {
            boxes.push_back(ControlText(box, 0xFFFF));
            Focus(box);
            PressKey(VK_RETURN);
            WaitUntilClosed(box);
        }
    });
    ImpersonateSelf(SecurityImpersonation);
    const bool opened = pipe.Open();
    RevertToSelf();
    Check(opened, "host opened the pipe");
    HANDLE client = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pipe.ClientProcessId());
    FaxRequests requests = TypicalRequests(Folder(L"host-gone"), u"0");
    SendRequests(pipe.Peer(), requests);
    pipe.Close();
    user.join();
    DWORD code = STILL_ACTIVE;
    if (client) {
        WaitForSingleObject(client, 10000);
        GetExitCodeProcess(client, &code);
        CloseHandle(client);
    }
    Check(boxes.size() == 8, "one box for each of the eight answers (" + std::to_string(boxes.size()) + ")");
    bool allWriteFailures = !boxes.empty();
    for (const auto& text : boxes) allWriteFailures = allWriteFailures && text == L"Write pipe failed";
    Check(allWriteFailures, "each box says \"Write pipe failed\"");
    Check(code == 0, "Korrim.exe still exited with code 0");
}

void NoHost() {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    wchar_t command[] = L"Korrim.exe";
    Check(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info),
          "Korrim.exe started without a host");
    if (!info.hProcess) return;
    const DWORD start = GetTickCount();
    bool windowSeen = false;
    while (WaitForSingleObject(info.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() - start < 10000) {
        windowSeen = windowSeen || FindWindowW(L"#32770", nullptr) != nullptr;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    Check(code == 0, "it ended at once with code 0");
    Check(!windowSeen, "no window and no message");
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

void SquatterMakesCreationFail() {
    HANDLE squatter =
        CreateNamedPipeW(kPipeName.c_str(), PIPE_ACCESS_DUPLEX, 0, PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr);
    Check(squatter != INVALID_HANDLE_VALUE, "another process holds the pipe name");
    HostRun run;
    run.requests = TypicalRequests(Folder(L"squatter"));
    RunHost(run);
    Check(!run.opened, "the host's creation failed instead of sharing the name");
    Check(run.clientProcessId == 0, "no client was launched");
    CloseHandle(squatter);
}

std::wstring SelfCommand(const wchar_t* role) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\" " + role;
}

void ImpostorClientIsRefused() {
    HostRun run;
    run.launch.commandLine = SelfCommand(L"idle");
    std::thread impostor([] {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            HANDLE end =
                CreateFileW(kPipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (end != INVALID_HANDLE_VALUE) {
                Sleep(1000);
                CloseHandle(end);
                return;
            }
            Sleep(10);
        }
    });
    RunHost(run);
    impostor.join();
    Check(!run.opened, "a client other than the launched process is refused");
    Check(run.openError == ERROR_ACCESS_DENIED, "with ERROR_ACCESS_DENIED");
}

void ClientThatNeverConnects() {
    HostRun run;
    run.launch.commandLine = SelfCommand(L"exit-now");
    const DWORD start = GetTickCount();
    RunHost(run);
    Check(!run.opened, "the host gives up when the launched client ends without connecting");
    Check(GetTickCount() - start < 10000, "without hanging");
}

// A client that connects and then never reads, and one that never connects:
// the host's limits end both waits, with ERROR_TIMEOUT.
void LimitsEndEveryWait() {
    Pipe pipe(/*isHost=*/true, kPipeName, [](std::u16string_view, std::u16string_view) {});
    ClientLaunch hangs;
    hangs.commandLine = SelfCommand(L"connect-and-hang");
    pipe.SetClientLaunch(hangs);
    pipe.SetConnectLimit(10000);
    ImpersonateSelf(SecurityImpersonation);
    const bool opened = pipe.Open();
    RevertToSelf();
    Check(opened, "the hanging client connected");
    pipe.SetTimeLimit(2000);
    DWORD start = GetTickCount();
    Check(!pipe.Write(u"1"), "a request the client never reads fails");
    Check(pipe.LastError() == ERROR_TIMEOUT, "with ERROR_TIMEOUT");
    Check(GetTickCount() - start < 8000, "at the time limit");
    pipe.Close();

    Pipe second(/*isHost=*/true, kPipeName, [](std::u16string_view, std::u16string_view) {});
    ClientLaunch silent;
    silent.commandLine = SelfCommand(L"idle");
    second.SetClientLaunch(silent);
    second.SetConnectLimit(1000);
    start = GetTickCount();
    ImpersonateSelf(SecurityImpersonation);
    Check(!second.Open(), "a client that never connects is given up");
    RevertToSelf();
    Check(second.LastError() == ERROR_TIMEOUT, "at the connect limit, with ERROR_TIMEOUT");
    Check(GetTickCount() - start < 2900, "before the client itself ended");
}

// The host's inheritable handles (in the monitor: other jobs' sockets and
// files) must not reach Korrim.exe.
void NoHandlesInherited() {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE probe = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    Pipe pipe(/*isHost=*/true, kPipeName, [](std::u16string_view, std::u16string_view) {});
    ClientLaunch launch;
    launch.commandLine =
        SelfCommand(L"signal-handle") + L" " + std::to_wstring(reinterpret_cast<std::uintptr_t>(probe));
    pipe.SetClientLaunch(launch);
    pipe.SetConnectLimit(10000);
    ImpersonateSelf(SecurityImpersonation);
    const bool opened = pipe.Open();
    RevertToSelf();
    Check(opened, "the client connected");
    std::u16string said;
    pipe.SetTimeLimit(10000);
    Check(pipe.Read(said) && said == u"done", "the client tried the host's handle");
    pipe.Close();
    Check(WaitForSingleObject(probe, 0) == WAIT_TIMEOUT, "the client could not signal the host's inheritable event");
    CloseHandle(probe);
}

// Korrim.exe started with "/notice" reads one text, lets the host go, and
// shows the text until the user presses OK.
void NoticeIsShown() {
    Pipe pipe(/*isHost=*/true, kPipeName, [](std::u16string_view, std::u16string_view) {});
    ClientLaunch launch;
    launch.commandLine = L"Korrim.exe /notice";
    pipe.SetClientLaunch(launch);
    pipe.SetConnectLimit(15000);
    ImpersonateSelf(SecurityImpersonation);
    const bool opened = pipe.Open();
    RevertToSelf();
    Check(opened, "Korrim.exe connected for the notice");
    if (!opened) return;
    const DWORD client = pipe.ClientProcessId();
    pipe.SetTimeLimit(10000);
    Check(pipe.Write(u"The fax \"Report\" was not sent.\r\nThe document was kept as C:\\kept.ps."),
          "the notice was written");
    std::u16string more;
    Check(!pipe.Read(more), "Korrim.exe closed its end before showing it");
    pipe.Close();
    HWND box = WaitForDialog(L"Fax not sent");
    Check(box != nullptr, "the \"Fax not sent\" box appeared");
    if (!box) return;
    CheckEqual(ControlText(box, 0xFFFF),
               std::wstring(L"The fax \"Report\" was not sent.\r\nThe document was kept as C:\\kept.ps."),
               "it shows the notice");
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, client);
    Focus(box);
    PressKey(VK_RETURN);
    DWORD code = STILL_ACTIVE;
    if (process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    Check(code == 0, "Korrim.exe ended with code 0 after OK");
    if (process) CloseHandle(process);
}

void InProcessForm() {
    // The way a module shows the form in its own process (no pipe).
    FaxRequests requests = TypicalRequests(L"", u"1");
    requests.addressBookType = u"5";
    requests.sender = u"Front desk";
    FaxAnswers answers;
    std::thread user([] {
        HWND form = ShownForm("the form appeared in this process");
        if (!form) return;
        CheckEqual(ControlText(form, IDC_SENDER), std::wstring(L"Front desk"), "sender shown");
        // The form runs on this process's other thread: make sure the keys
        // reached the field before Enter, or close it so the run ends.
        if (!Check(TypeInto(form, IDC_FAXNUMBER, L"12345"), "number typed into the form")) {
            Click(form, IDCANCEL);
            return;
        }
        PressKey(VK_RETURN);
    });
    answers = ShowSendFaxForm(GetModuleHandleW(nullptr), requests);
    user.join();
    CheckAnswers(answers, {u"1", u"12345", u".", u"2", u"Front desk", u"0", u"3", u"ops@example.org"});
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

// Korrim.exe with a language module beside it: its layouts replace the
// program's own. The module goes under the first two letters of the system's
// language name ("Korrim.EN"), the second name the program tries.
void LanguageModule() {
    wchar_t language[16] = {};
    Check(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME, language, 16) > 2,
          "the system has a language name");
    const std::wstring from = OwnFolder(), to = Folder(L"language-bin");
    CreateDirectoryW(to.c_str(), nullptr);
    bool copied =
        CopyFileW((from + L"\\Korrim.exe").c_str(), (to + L"\\Korrim.exe").c_str(), FALSE) &&
        CopyFileW((from + L"\\recipient_wine_test.exe").c_str(), (to + L"\\recipient_wine_test.exe").c_str(), FALSE) &&
        CopyFileW((from + L"\\Korrim.lang").c_str(), (to + L"\\Korrim." + std::wstring(language, 2)).c_str(), FALSE);
    Check(copied, "Korrim.exe and Korrim." + Narrow(std::wstring(language, 2)) + " in a folder of their own");
    if (!copied) return;
    // The copy of this program hosts the conversation from that folder, so
    // that its launch of "Korrim.exe" finds the copy there.
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + to + L"\\recipient_wine_test.exe\" language-run";
    Check(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, to.c_str(), &startup, &info),
          "started the host in that folder");
    if (!info.hProcess) return;
    WaitForSingleObject(info.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    Check(code == 0, "the conversation with the translated form passed");
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

void LanguageRun() {
    HostRun run;
    run.requests = TypicalRequests(Folder(L"language"));
    Converse(run, [&] {
        HWND form = ShownForm();
        if (!form) return;
        CheckEqual(ControlText(form, IDC_LABEL4), std::wstring(L"Fax senden"), "title from the language module");
        Check(WaitForText(form, IDC_TIMETOCANCEL, L"179"), "a countdown caption without \":\" becomes the bare number");
        Click(form, IDCANCEL);
        Check(WaitUntilClosed(form), "Cancel closed the form");
    });
    CheckAnswers(run.answers, {u"2"});
    CheckCleanEnd(run);
}

// Poses the filled form and the name dialog for screenshots: writes
// <root>\shotN.ready and waits for <root>\shotN.done from the shell.
bool Pose(const wchar_t* step) {
    const std::wstring ready = kTestRoot + L"\\" + step + L".ready";
    const std::wstring done = kTestRoot + L"\\" + step + L".done";
    Sleep(500);
    WriteFileBytes(ready, "");
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 60000) return false;
        Sleep(100);
    }
    return true;
}

void Screenshots() {
    const std::wstring folder = Folder(L"shots");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(folder + L"\\numbers.csv", "\"Sales office\",\"5551234\"\r\n\"Smith, John\",\"5559876\"\r\n");
    FaxRequests requests = TypicalRequests(folder, u"0");
    requests.sender = u"Tolvane Office";
    std::thread user([] {
        HWND form = ShownForm();
        if (!form) return;
        Focus(form);
        TypeText(L"Sales@5551234;5559876");
        Check(Pose(L"shot1"), "form posed");
        Click(form, IDC_TOADDRESSBOOK);
        HWND names = WaitForDialog(L"Recipient's Name");
        if (names) {
            Focus(names);
            TypeText(L"Sales office");
            Check(Pose(L"shot2"), "name dialog posed");
            Click(names, IDCANCEL);
            WaitUntilClosed(names);
        }
        Click(form, IDCANCEL);
    });
    ShowSendFaxForm(GetModuleHandleW(nullptr), requests);
    user.join();
}

// What a pipe made with the conversation's security holds: the local system
// everything, this user reading and writing, nobody else anything; and a
// client whose token counts this user for denying only is refused.
void CheckConversationPipeSecurity() {
    const std::u16string name = NewConversationPipeName(GetCurrentProcessId());
    const std::wstring wideName(name.begin(), name.end());
    ActingUserOnlySecurity security;
    Check(security.Attributes() != nullptr, "the pipe's security was built");
    if (!security.Attributes()) return;
    HANDLE pipe =
        CreateNamedPipeW(wideName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, security.Attributes());
    if (!Check(pipe != INVALID_HANDLE_VALUE, "a pipe with it was created")) return;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = GetSecurityInfo(pipe, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                       nullptr, &descriptor);
    if (Check(read == ERROR_SUCCESS && dacl != nullptr, "its access list reads back")) {
        HANDLE token = nullptr;
        BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
        DWORD size = 0;
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
        GetTokenInformation(token, TokenUser, user, sizeof user, &size);
        CloseHandle(token);
        const PSID me = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
        Check(dacl->AceCount == 2, "two entries in the list");
        int system = 0, mine = 0;
        for (WORD i = 0; i < dacl->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* ace = nullptr;
            if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
                continue;
            const PSID sid = &ace->SidStart;
            const DWORD subAuthority = *GetSidSubAuthority(sid, 0);
            if (*GetSidSubAuthorityCount(sid) == 1 && subAuthority == SECURITY_LOCAL_SYSTEM_RID &&
                ace->Mask == FILE_ALL_ACCESS) {
                ++system;
            } else if (EqualSid(sid, me) && ace->Mask == (FILE_GENERIC_READ | FILE_GENERIC_WRITE)) {
                ++mine;
            }
        }
        Check(system == 1, "the local system may do everything");
        Check(mine == 1, "this user may read and write");
    }
    if (descriptor) LocalFree(descriptor);

    // Whether this system checks access to pipes at all: a pipe whose list
    // grants nobody anything must not open. Wine opens it (it keeps the list
    // but does not check it on opening a pipe, and runs every process as the
    // same user), so there the check below cannot be made.
    const std::u16string lockedName = NewConversationPipeName(GetCurrentProcessId());
    const std::wstring wideLocked(lockedName.begin(), lockedName.end());
    ACL empty{};
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SECURITY_DESCRIPTOR nobody{};
    InitializeSecurityDescriptor(&nobody, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&nobody, TRUE, &empty, FALSE);
    SECURITY_ATTRIBUTES nobodyAttributes{sizeof nobodyAttributes, &nobody, FALSE};
    HANDLE locked =
        CreateNamedPipeW(wideLocked.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, &nobodyAttributes);
    HANDLE intruder =
        CreateFileW(wideLocked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool checksPipes = locked != INVALID_HANDLE_VALUE && intruder == INVALID_HANDLE_VALUE;
    if (intruder != INVALID_HANDLE_VALUE) CloseHandle(intruder);
    if (locked != INVALID_HANDLE_VALUE) CloseHandle(locked);
    if (!checksPipes) {
        std::printf("  SKIP someone else opening the pipe: this system does not check access to pipes\n");
        CloseHandle(pipe);
        return;
    }

    // A token in which this user's SID only denies stands for a user who is
    // not this one.
    HANDLE process = nullptr, restricted = nullptr, impersonation = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process);
    BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    DWORD size = 0;
    GetTokenInformation(process, TokenUser, user, sizeof user, &size);
    SID_AND_ATTRIBUTES disabled{reinterpret_cast<TOKEN_USER*>(user)->User.Sid, 0};
    const bool madeToken = CreateRestrictedToken(process, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted) &&
                           DuplicateToken(restricted, SecurityImpersonation, &impersonation);
    if (Check(madeToken, "a token of someone else was made") && ImpersonateLoggedOnUser(impersonation)) {
        HANDLE other =
            CreateFileW(wideName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const DWORD error = GetLastError();
        RevertToSelf();
        Check(other == INVALID_HANDLE_VALUE && error == ERROR_ACCESS_DENIED,
              "someone else cannot open the pipe (error " + std::to_string(other == INVALID_HANDLE_VALUE ? error : 0) +
                  ")");
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    }
    for (HANDLE handle : {impersonation, restricted, process})
        if (handle) CloseHandle(handle);
    CloseHandle(pipe);
}

// A conversation on a pipe of the document's own, as the monitor holds them
// when Korrim.exe takes "/pipe": the form comes up on it, the answers come
// back, and no one else can serve the name meanwhile.
void OwnPipe() {
    HostRun run;
    run.requests = TypicalRequests(Folder(L"own-pipe"), u"0");
    const std::u16string name = NewConversationPipeName(GetCurrentProcessId());
    run.pipeName.assign(name.begin(), name.end());
    run.onlyActingUser = true;
    run.launch.commandLine = L"Korrim.exe /pipe " + run.pipeName;
    bool squatterRefused = false;
    Converse(run, [&] {
        HWND form = ShownForm("the form appeared on the document's own pipe");
        if (!form) return;
        HANDLE squatter = CreateNamedPipeW(run.pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                                           PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr);
        squatterRefused = squatter == INVALID_HANDLE_VALUE;
        if (!squatterRefused) CloseHandle(squatter);
        Focus(form);
        TypeText(L"5550100");
        PressKey(VK_TAB);
        PressKey(VK_RETURN);
        Check(WaitUntilClosed(form), "Enter sent the form");
    });
    Check(run.opened, "host opened its own pipe and Korrim.exe connected to it");
    CheckAnswers(run.answers, {u"1", u"5550100", u".", u"2", u" ", u"0", u"3", u"ops@example.org"});
    Check(squatterRefused, "no second instance of the name could be made while the conversation ran");
    CheckCleanEnd(run);
    CheckConversationPipeSecurity();
}

struct Scenario {
    const char* name;
    void (*run)();
};

const Scenario kScenarios[] = {
    {"send", SendWithNumberListAndConfirmation},
    {"cancel", CancelButton},
    {"esc", EscapeKey},
    {"countdown", CountdownExpires},
    {"countdown-name", CountdownClosesTheNameDialogFirst},
    {"save-name", SaveNumberUnderAName},
    {"pick-name", PickTheSavedName},
    {"delete-entry", DeleteTheEntry},
    {"old-files", OldCsvLinesAndTextFiles},
    {"countdown-box", CountdownClosesErrorBoxes},
    {"held-open", BookHeldOpenByAnotherProgram},
    {"typed", TypedNamesAndLongNumbers},
    {"host-gone", HostGoneBeforeTheAnswers},
    {"no-host", NoHost},
    {"squatter", SquatterMakesCreationFail},
    {"impostor", ImpostorClientIsRefused},
    {"never-connects", ClientThatNeverConnects},
    {"limits", LimitsEndEveryWait},
    {"no-inherit", NoHandlesInherited},
    {"notice", NoticeIsShown},
    {"own-pipe", OwnPipe},
    {"in-process", InProcessForm},
    {"language", LanguageModule},
    {"language-run", LanguageRun},
    {"screenshots", Screenshots},
};

}  // namespace

int main(int argc, char** argv) {
    const std::string name = argc > 1 ? argv[1] : "";
    if (name == "idle") {
        Sleep(3000);
        return 0;
    }
    if (name == "exit-now") return 0;
    if (name == "connect-and-hang" || name == "signal-handle") {
        HANDLE end =
            CreateFileW(kPipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (name == "connect-and-hang") {
            Sleep(20000);
        } else if (argc > 2) {
            // Signals the event if the host's handle came along.
            SetEvent(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(argv[2], nullptr, 10))));
            const char16_t done[] = u"done";
            DWORD written = 0;
            WriteFile(end, done, sizeof done, &written, nullptr);
            Sleep(500);
        }
        if (end != INVALID_HANDLE_VALUE) CloseHandle(end);
        return 0;
    }
    for (const Scenario& scenario : kScenarios) {
        if (name != scenario.name) continue;
        std::printf("%s\n", scenario.name);
        scenario.run();
        std::printf("%s: %s\n", scenario.name, failures == 0 ? "PASS" : "FAIL");
        return failures == 0 ? 0 : 1;
    }
    std::printf("usage: recipient_wine_test SCENARIO (");
    for (const Scenario& scenario : kScenarios) std::printf(" %s", scenario.name);
    std::printf(" )\n");
    return 2;
}
