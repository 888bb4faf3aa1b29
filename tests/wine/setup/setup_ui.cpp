// The administrator at the setup tool's windows, for the setup tool's Wine
// suite. Works the main dialog as a person would and prints what it saw, one
// "what: text" line each, in UTF-8.
//
//   setup_ui install CAPTION tolvane|quillon
//       chooses the printer kind, presses Install, reads and confirms the
//       outcome box ("Information"), closes the port dialog or the monitor's
//       box that follows a PostScript install when one appears, closes the
//       main dialog
//   setup_ui uninstall CAPTION tolvane|quillon
//       chooses the kind, presses Uninstall, answers the question with Yes,
//       reads and confirms the outcome box, closes the main dialog
//   setup_ui language CAPTION [N]
//       prints the language list, the selected item and the caption of the
//       port configuration button; with N selects item N as a person does
//       (the list tells its dialog of the change) and prints the caption
//       again; closes the main dialog
//   setup_ui box CAPTION
//       reads a message box with this caption and presses OK
//   setup_ui ports CAPTION SERVER
//       presses Port configuration, reads the port and the server the port
//       settings dialog shows, types SERVER and presses OK; closes the main
//       dialog
//
// Exits 0 when every step happened.

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui_driver.h"

namespace {

using namespace uitest;

constexpr int kRadioTolvane = 1000;
constexpr int kRadioQuillon = 1001;
constexpr int kButtonTest = 1002;
constexpr int kButtonUninstall = 1003;
constexpr int kButtonInstall = 1004;
constexpr int kButtonConfig = 1005;
constexpr int kStatusLine = 1015;
constexpr int kLanguageList = 1014;
constexpr int kMessageText = 0xFFFF;   // the text of a message box
constexpr int kPortList = 1051;        // the port settings dialog's port list
constexpr int kPortServer = 1017;      // and its fax server
constexpr int kPortBookFolder = 1027;  // and its address-book folder
constexpr DWORD kTimeoutMs = 60000;

std::string Utf8(const std::wstring& text) {
    std::string line;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        if (c == L'\n') {
            line += " | ";
            continue;
        }
        char bytes[8];
        const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
        line.append(bytes, n > 0 ? n : 0);
    }
    return line;
}

void Say(const char* what, const std::wstring& text) {
    std::printf("%s: %s\n", what, Utf8(text).c_str());
    std::fflush(stdout);
}

HWND MainDialog(const wchar_t* caption) {
    HWND dialog = WaitForDialog(caption, kTimeoutMs);
    if (dialog == nullptr) Say("ui", std::wstring(L"the dialog \"") + caption + L"\" did not appear");
    return dialog;
}

// Reads the box with this caption, presses `button` and waits until it closed.
bool AnswerBox(const char* what, const wchar_t* caption, int button, DWORD timeoutMs = kTimeoutMs) {
    HWND box = WaitForDialog(caption, timeoutMs);
    if (box == nullptr) {
        Say(what, L"(no box)");
        return false;
    }
    Say(what, ControlText(box, kMessageText));
    Click(box, button);
    return WaitUntilClosed(box);
}

bool CloseMain(HWND dialog) {
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    const bool closed = WaitUntilClosed(dialog, kTimeoutMs);
    if (!closed) Say("ui", L"the main dialog did not close");
    return closed;
}

void ChooseKind(HWND dialog, const std::wstring& kind) {
    Click(dialog, kind == L"quillon" ? kRadioQuillon : kRadioTolvane);
    Sleep(100);
    Say("kind", kind + L", Tolvane radio " +
                    (IsDlgButtonChecked(dialog, kRadioTolvane) == BST_CHECKED ? L"checked" : L"clear"));
}

bool Install(const wchar_t* caption, const std::wstring& kind) {
    HWND dialog = MainDialog(caption);
    if (dialog == nullptr) return false;
    ChooseKind(dialog, kind);
    Say("buttons",
        std::wstring(IsWindowEnabled(GetDlgItem(dialog, kButtonInstall)) ? L"install enabled" : L"install disabled"));
    Click(dialog, kButtonInstall);
    bool ok = AnswerBox("outcome", L"Information", IDOK);
    Say("status", ControlText(dialog, kStatusLine));
    if (kind == L"tolvane") {
        // What follows a PostScript install: the port settings dialog, the
        // tool's own (Ruddock) or the monitor's through ConfigurePortW
        // (Ruddset), or a box.
        const DWORD start = GetTickCount();
        HWND next = nullptr;
        while (next == nullptr && GetTickCount() - start < 10000) {
            next = FindWindowW(L"#32770", L"Fax port settings");
            if (next == nullptr) next = FindWindowW(L"#32770", L"Tolvane Port");
            if (next == nullptr) {
                HWND candidate = FindWindowW(L"#32770", nullptr);
                if (candidate != nullptr && candidate != dialog && IsWindowVisible(candidate)) next = candidate;
            }
            if (next != nullptr && !IsWindowVisible(next)) next = nullptr;
            if (next == nullptr) Sleep(50);
        }
        if (next == nullptr) {
            Say("after install", L"(nothing)");
        } else {
            if (WindowText(next) == L"Fax port settings") {
                Say("after install", WindowText(next) + L": port " + ControlText(next, kPortList) + L", server " +
                                         ControlText(next, kPortServer));
            } else {
                Say("after install", WindowText(next) + L": " + ControlText(next, kMessageText));
            }
            Click(next, ControlText(next, kMessageText).empty() ? IDCANCEL : IDOK);
            ok = WaitUntilClosed(next) && ok;
        }
    }
    return CloseMain(dialog) && ok;
}

bool Uninstall(const wchar_t* caption, const std::wstring& kind) {
    HWND dialog = MainDialog(caption);
    if (dialog == nullptr) return false;
    ChooseKind(dialog, kind);
    Click(dialog, kButtonUninstall);
    bool ok = AnswerBox("question", L"Information", IDYES);
    ok = AnswerBox("outcome", L"Information", IDOK) && ok;
    Say("status", ControlText(dialog, kStatusLine));
    return CloseMain(dialog) && ok;
}

bool Language(const wchar_t* caption, int choose) {
    HWND dialog = MainDialog(caption);
    if (dialog == nullptr) return false;
    HWND list = GetDlgItem(dialog, kLanguageList);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    std::wstring items;
    for (int i = 0; i < count; ++i) {
        wchar_t item[256] = L"";
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 255) SendMessageW(list, CB_GETLBTEXT, i, (LPARAM)item);
        items += (i ? L"|" : L"") + std::wstring(item);
    }
    Say("languages", items);
    Say("selected", std::to_wstring(SendMessageW(list, CB_GETCURSEL, 0, 0)));
    Say("config button", ControlText(dialog, kButtonConfig));
    Say("test button", ControlText(dialog, kButtonTest));
    if (choose >= 0) {
        SendMessageW(list, CB_SETCURSEL, choose, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kLanguageList, CBN_SELCHANGE), (LPARAM)list);
        Sleep(200);
        Say("config button now", ControlText(dialog, kButtonConfig));
        Say("test button now", ControlText(dialog, kButtonTest));
    }
    return CloseMain(dialog);
}

bool Ports(const wchar_t* caption, const std::wstring& server) {
    HWND dialog = MainDialog(caption);
    if (dialog == nullptr) return false;
    Click(dialog, kButtonConfig);
    HWND ports = WaitForDialog(L"Fax port settings", kTimeoutMs);
    if (ports == nullptr) {
        Say("port dialog", L"(none)");
        CloseMain(dialog);
        return false;
    }
    Say("port dialog", L"port " + ControlText(ports, kPortList) + L", server " + ControlText(ports, kPortServer));
    bool ok = TypeInto(ports, kPortServer, server);
    // The port's address-book folder must exist for OK to save.
    ok = TypeInto(ports, kPortBookFolder, L"C:\\windows") && ok;
    Click(ports, IDOK);
    ok = WaitUntilClosed(ports, kTimeoutMs) && ok;
    Say("port dialog closed", ok ? L"yes" : L"no");
    return CloseMain(dialog) && ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    bool ok = false;
    if ((mode == L"install" || mode == L"uninstall") && argc == 4) {
        ok = mode == L"install" ? Install(argv[2], argv[3]) : Uninstall(argv[2], argv[3]);
    } else if (mode == L"language" && (argc == 3 || argc == 4)) {
        ok = Language(argv[2], argc == 4 ? _wtoi(argv[3]) : -1);
    } else if (mode == L"box" && argc == 3) {
        ok = AnswerBox("box", argv[2], IDOK);
    } else if (mode == L"ports" && argc == 4) {
        ok = Ports(argv[2], argv[3]);
    } else {
        std::fprintf(stderr,
                     "usage: setup_ui install|uninstall CAPTION KIND | language CAPTION [N] | box CAPTION | "
                     "ports CAPTION SERVER\n");
        return 2;
    }
    return ok ? 0 : 1;
}
