#include "ui_driver.h"

#include <cstdio>
#include <vector>

namespace uitest {

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowW(L"#32770", caption);
        if (window && IsWindowVisible(window)) return window;
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

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> buffer(16384, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                        2000, &length);
    return std::wstring(buffer.data());
}

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool WaitForText(HWND dialog, int id, const std::wstring& text, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (ControlText(dialog, id) == text) return true;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

void Focus(HWND dialog) {
    SetForegroundWindow(dialog);
    Sleep(100);
}

namespace {

void Send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(30);
}

}  // namespace

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        std::vector<INPUT> inputs(2);
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = inputs[1].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        Send(inputs);
    }
    Sleep(100);
}

void PressKey(WORD virtualKey) {
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(inputs);
    Sleep(100);
}

void PressShiftTab() {
    std::vector<INPUT> inputs(4);
    for (auto& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1].ki.wVk = VK_TAB;
    inputs[2].ki.wVk = VK_TAB;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_SHIFT;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(inputs);
    Sleep(100);
}

bool TypeInto(HWND dialog, int id, const std::wstring& text) {
    HWND field = GetDlgItem(dialog, id);
    SetForegroundWindow(dialog);
    Sleep(150);
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    Sleep(150);
    TypeText(text);
    return WaitForText(dialog, id, text, 1000);
}

void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

namespace {
int checkFailures = 0;
}  // namespace

void Check(bool condition, const std::string& what) {
    std::printf("  %s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    if (!condition) ++checkFailures;
}

int CheckFailures() { return checkFailures; }

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);
    return narrow;
}

}  // namespace uitest
