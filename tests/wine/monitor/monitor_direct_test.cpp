// The monitor's port entry points called the way the spooler calls them, on a
// registry root of the test's own: what becomes of the spool file of a
// document that never reached EndDocPort.
//
// The monitor DLL's file name in the system folder comes from the environment
// (TOLVANE_MONITOR_DLL), as for monitor_spooler_test.

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kRoot[] = L"Software\\TolvaneDirectTest";

std::wstring MonitorDll() {
    wchar_t name[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"TOLVANE_MONITOR_DLL", name, MAX_PATH);
    return length > 0 && length < MAX_PATH ? name : L"Caskel.dll";
}

// The spool files in the temporary folder ("FAX*.tmp").
std::vector<std::wstring> SpoolFiles() {
    wchar_t folder[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH, folder);
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((std::wstring(folder) + L"FAX*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        files.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

class MonitorPortCalls : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY port = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kRoot) + L"\\Ports\\P").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &port, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(port);
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRoot, 0, KEY_ALL_ACCESS, &root_), ERROR_SUCCESS);
        library_ = LoadLibraryW(MonitorDll().c_str());
        ASSERT_NE(library_, nullptr) << GetLastError();
        using Initialize = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);
        const auto initialize =
            reinterpret_cast<Initialize>(reinterpret_cast<void*>(GetProcAddress(library_, "InitializePrintMonitor2")));
        ASSERT_NE(initialize, nullptr);
        MONITORINIT init{};
        init.cbSize = sizeof init;
        init.hckRegistryRoot = reinterpret_cast<HKEYMONITOR>(root_);
        init.bLocal = TRUE;
        table_ = initialize(&init, &monitor_);
        ASSERT_NE(table_, nullptr);
        before_ = SpoolFiles();
    }
    void TearDown() override {
        if (table_ != nullptr) table_->pfnShutdown(monitor_);
        if (library_ != nullptr) FreeLibrary(library_);
        if (root_ != nullptr) RegCloseKey(root_);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kRoot) + L"\\Ports\\P").c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kRoot) + L"\\Ports").c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRoot);
    }

    bool StartDocument(HANDLE port, const wchar_t* name) {
        DOC_INFO_1W info{const_cast<wchar_t*>(name), nullptr, nullptr};
        wchar_t printer[] = L"";
        return table_->pfnStartDocPort(port, printer, 0, 1, reinterpret_cast<LPBYTE>(&info)) != FALSE;
    }
    bool Write(HANDLE port, const char* text) {
        DWORD written = 0;
        return table_->pfnWritePort(port, reinterpret_cast<LPBYTE>(const_cast<char*>(text)),
                                    static_cast<DWORD>(strlen(text)), &written) &&
               written == strlen(text);
    }

    HKEY root_ = nullptr;
    HMODULE library_ = nullptr;
    HANDLE monitor_ = nullptr;
    LPMONITOR2 table_ = nullptr;
    std::vector<std::wstring> before_;
};

TEST_F(MonitorPortCalls, ADocumentThatNeverEndsLeavesNoSpoolFile) {
    HANDLE port = nullptr;
    wchar_t name[] = L"P";
    ASSERT_TRUE(table_->pfnOpenPort(monitor_, name, &port)) << GetLastError();
    ASSERT_TRUE(StartDocument(port, L"first")) << GetLastError();
    ASSERT_TRUE(Write(port, "%!PS first\n"));
    EXPECT_EQ(SpoolFiles().size(), before_.size() + 1);

    // The spooler starts the next document on the port without an EndDocPort.
    ASSERT_TRUE(StartDocument(port, L"second")) << GetLastError();
    ASSERT_TRUE(Write(port, "%!PS second\n"));
    EXPECT_EQ(SpoolFiles().size(), before_.size() + 1) << "the first document's file went";

    // And closes the port in the middle of it.
    ASSERT_TRUE(table_->pfnClosePort(port));
    EXPECT_EQ(SpoolFiles(), before_) << "the second document's file went";
}

}  // namespace
