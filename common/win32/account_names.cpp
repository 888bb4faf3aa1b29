#include "common/win32/account_names.h"

#include "common/win32/procedure_address.h"
#include "common/win32/wide_text.h"

namespace tolvane {
namespace {

// WTSQuerySessionInformationW and WTSFreeMemory: wtsapi32.dll is missing on
// Windows 2000 without terminal services.
using QuerySessionFunction = BOOL(WINAPI*)(HANDLE, DWORD, int, LPWSTR*, DWORD*);
using FreeMemoryFunction = void(WINAPI*)(PVOID);
constexpr DWORD kCurrentSession = static_cast<DWORD>(-1);  // WTS_CURRENT_SESSION
constexpr int kUserNameClass = 5;                          // WTSUserName
// The longest user name the programs compare (the system's own limit is 256).
constexpr DWORD kUserNameChars = 260;

}  // namespace

std::optional<std::u16string> SessionUserName() {
    HMODULE library = LoadLibraryW(L"wtsapi32.dll");
    if (library == nullptr) return std::nullopt;
    std::optional<std::u16string> name;
    const auto query = ProcedureAddress<QuerySessionFunction>(library, "WTSQuerySessionInformationW");
    const auto release = ProcedureAddress<FreeMemoryFunction>(library, "WTSFreeMemory");
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (query != nullptr && release != nullptr &&
        query(nullptr /* WTS_CURRENT_SERVER_HANDLE */, kCurrentSession, kUserNameClass, &buffer, &bytes) &&
        buffer != nullptr) {
        name = ToU16(buffer);
        release(buffer);
    }
    FreeLibrary(library);
    return name;
}

std::u16string ProcessUserName() {
    wchar_t buffer[kUserNameChars + 1] = {};
    DWORD size = kUserNameChars + 1;
    if (!GetUserNameW(buffer, &size)) return {};
    return ToU16(buffer);
}

}  // namespace tolvane
