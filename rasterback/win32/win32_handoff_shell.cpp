#include "rasterback/win32/win32_handoff_shell.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstddef>
#include <vector>

#include "rasterback/win32/owner_window.h"

namespace tolvane {

namespace {

// The dialog structure without the Windows 2000 additions, in this build's
// own layout: 76 bytes in a 32-bit build, more in a 64-bit one. A 64-bit
// build that passes 76 never sees the dialog open.
constexpr DWORD kSaveDialogStructSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kSaveDialogStructSize == 76, "32-bit layout of the save dialog structure");
#endif

constexpr DWORD kSaveDialogFlags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP;
static_assert(kSaveDialogFlags == 0x80016);

// Room for the chosen path; larger than the system's 260 so an output path of
// up to 520 characters plus ".tif" still opens the dialog.
constexpr std::size_t kFileNameRoom = 1024;

int ShowCommand(ShowState show) {
    switch (show) {
    case ShowState::Normal:
        return SW_SHOWNORMAL;
    case ShowState::Minimized:
        return SW_MINIMIZE;
    case ShowState::Hidden:
        return SW_HIDE;
    }
    return SW_SHOWNORMAL;
}

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    const DWORD got = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return got > 0 && got < sizeof buffer ? std::string(buffer, got) : path;
}

}  // namespace

std::optional<std::string> Win32HandoffShell::ReadSendProgramFolder() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Merrowind\\Ostrel", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[512] = "";
    DWORD type = 0, size = sizeof buffer - 1;  // room for a terminator the value may lack
    const LONG status = RegQueryValueExA(key, "SoftPath", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    buffer[size] = '\0';
    return std::string(buffer);
}

void Win32HandoffShell::ShellOpen(const std::string& file, const std::string& parameters, ShowState show) {
    ShellExecuteA(GetDesktopWindow(), "open", file.c_str(), parameters.c_str(), "", ShowCommand(show));
}

void Win32HandoffShell::EnsureFolder(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);  // an existing folder is fine as it is
}

std::optional<std::string> Win32HandoffShell::AskSavePath(const std::string& currentPath,
                                                          const std::string& initialFolder) {
    std::vector<char> file(kFileNameRoom, '\0');
    currentPath.copy(file.data(), file.size() - 1);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = kSaveDialogStructSize;
    dialog.hwndOwner = FindOwnerWindow();
    dialog.lpstrFilter = "TIFF Files\0*.tif\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.lpstrTitle = "save file";
    dialog.lpstrDefExt = "tif";
    dialog.Flags = kSaveDialogFlags;
    if (!GetSaveFileNameA(&dialog)) return std::nullopt;
    return std::string(file.data());
}

bool Win32HandoffShell::SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}

bool Win32HandoffShell::CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32HandoffShell::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

void Win32HandoffShell::ShowMessage(const UserMessage& message) {
    const bool emptyCaption = message.caption == UserMessage::Caption::Empty;
    if (message.encoding == UserMessage::Encoding::Ansi) {
        MessageBoxA(nullptr, message.text.c_str(), emptyCaption ? "" : nullptr, MB_OK);
        return;
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, message.text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, message.text.c_str(), -1, wide.data(), length);
    MessageBoxW(nullptr, wide.data(), emptyCaption ? L"" : nullptr, MB_OK);
}

}  // namespace tolvane
