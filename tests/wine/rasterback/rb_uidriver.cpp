// Answers the dialogs the back end shows, as a user would, and prints what it
// saw. Steps run in order, each waiting up to 30 seconds for its window:
//   save:PATH   the "save file" dialog: prints its owner and file name, enters
//               PATH and presses Save
//   cancel      the "save file" dialog: presses Cancel
//   yes         a message box with a Yes button (the overwrite prompt): Yes
//   ok          a message box: prints its caption and text (UTF-8), presses OK
//   ok+mkdir:DIR  the same, creating folder DIR before pressing OK
//   lock:PATH   holds PATH open without sharing until the driver ends
// Exit code 0 when every step found its window.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui_driver.h"

namespace {

constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kMessageText = 0xFFFF;   // the text of a message box

std::string utf8TextOf(HWND hwnd) {
    wchar_t wide[2048] = L"";
    GetWindowTextW(hwnd, wide, 2048);
    char buffer[8192] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

std::string textOf(HWND hwnd) {
    char buffer[2048] = "";
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

bool isDialog(HWND hwnd) {
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd);
}

HWND fileNameControl(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, kFileNameCombo)) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, kFileNameEdit);
}

bool isSaveDialog(HWND hwnd) { return isDialog(hwnd) && textOf(hwnd) == "save file" && fileNameControl(hwnd); }
bool isYesBox(HWND hwnd) { return isDialog(hwnd) && GetDlgItem(hwnd, IDYES) && GetDlgItem(hwnd, kMessageText); }
bool isMessageBox(HWND hwnd) { return isDialog(hwnd) && GetDlgItem(hwnd, kMessageText) && !isSaveDialog(hwnd); }

struct Search {
    bool (*matches)(HWND);
    HWND found;
};

BOOL CALLBACK visit(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!search->matches(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND waitFor(bool (*matches)(HWND), const char* what) {
    for (int tries = 0; tries < 600; ++tries) {
        Search search{matches, nullptr};
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Sleep(200);  // let the dialog finish its set-up before it is answered
            return search.found;
        }
        Sleep(50);
    }
    std::printf("timeout waiting for %s\n", what);
    std::exit(1);
}

void press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<HANDLE> locks;
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step.rfind("lock:", 0) == 0) {
            const std::string path = step.substr(5);
            HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
            std::printf("lock %s: %s\n", path.c_str(), h == INVALID_HANDLE_VALUE ? "failed" : "held");
            locks.push_back(h);
        } else if (step.rfind("save:", 0) == 0 || step == "cancel") {
            HWND dialog = waitFor(isSaveDialog, "the save dialog");
            HWND owner = GetWindow(dialog, GW_OWNER);
            std::printf("save dialog: owner=[%s] file=[%s]\n", owner ? textOf(owner).c_str() : "",
                        textOf(fileNameControl(dialog)).c_str());
            if (step == "cancel") {
                press(dialog, IDCANCEL);
            } else {
                SendMessageA(fileNameControl(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.substr(5).c_str()));
                press(dialog, IDOK);
            }
            // Each answered window is waited out, so the next step cannot find
            // it again; after Save the dialog stays while an overwrite prompt is
            // up, and the next step answers that.
            if (step == "cancel") uitest::WaitUntilClosed(dialog, 30000);
        } else if (step == "yes") {
            HWND box = waitFor(isYesBox, "a Yes/No message box");
            std::printf("prompt: [%s]\n", textOf(GetDlgItem(box, kMessageText)).c_str());
            press(box, IDYES);
            uitest::WaitUntilClosed(box, 30000);
        } else if (step == "ok" || step.rfind("ok+mkdir:", 0) == 0) {
            HWND box = waitFor(isMessageBox, "a message box");
            std::printf("message: caption=[%s] text=[%s]\n", utf8TextOf(box).c_str(),
                        utf8TextOf(GetDlgItem(box, kMessageText)).c_str());
            if (step != "ok")
                std::printf("mkdir %s: %s\n", step.substr(9).c_str(),
                            CreateDirectoryA(step.substr(9).c_str(), nullptr) ? "done" : "failed");
            press(box, IDOK);
            uitest::WaitUntilClosed(box, 30000);
        } else {
            std::printf("unknown step %s\n", step.c_str());
            return 2;
        }
    }
    for (HANDLE h : locks)
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return 0;
}
