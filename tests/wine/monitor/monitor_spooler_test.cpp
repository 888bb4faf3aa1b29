// Registers the built monitor with Wine's spooler and drives it through the
// public spooler API only: AddMonitorW, XcvDataW on ",XcvMonitor Tolvane" and
// EnumPortsW, reading what it stored back from the registry.
//
// The monitor DLL's file name in the system folder comes from the environment
// (TOLVANE_MONITOR_DLL): "Caskel.dll" in a 64-bit prefix, "OstrelCaskel.dll" in
// a 32-bit one.

#include <windows.h>
#include <winspool.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/port_config_record.h"

// Exported by winspool.drv (and in mingw's import library) but not declared in
// mingw's headers.
extern "C" BOOL WINAPI AddPortExW(LPWSTR server, DWORD level, LPBYTE buffer, LPWSTR monitorName);

namespace {

constexpr wchar_t kPortsKey[] = L"System\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports";

std::wstring MonitorDll() {
    wchar_t name[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"TOLVANE_MONITOR_DLL", name, MAX_PATH);
    return length > 0 && length < MAX_PATH ? name : L"Caskel.dll";
}

// The monitor's transceive object with the given rights.
class Xcv {
public:
    explicit Xcv(ACCESS_MASK access) {
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
        wchar_t object[] = L",XcvMonitor Tolvane";
        if (!OpenPrinterW(object, &handle_, &defaults)) handle_ = nullptr;
    }
    ~Xcv() {
        if (handle_ != nullptr) ClosePrinter(handle_);
    }
    bool ok() const { return handle_ != nullptr; }

    DWORD Run(const wchar_t* command, const void* input, DWORD inputSize, void* output = nullptr,
              DWORD outputSize = 0) {
        DWORD status = 0xDEAD;
        needed = 0;
        const BOOL called = XcvDataW(handle_, command, static_cast<PBYTE>(const_cast<void*>(input)), inputSize,
                                     static_cast<PBYTE>(output), outputSize, &needed, &status);
        return called ? status : 0xBAD0000 | GetLastError();
    }
    DWORD RunOnName(const wchar_t* command, const std::wstring& port) {
        return Run(command, port.c_str(), static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)));
    }

    DWORD needed = 0;

private:
    HANDLE handle_ = nullptr;
};

bool PortKeyExists(const std::wstring& port) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kPortsKey) + L"\\" + port;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring PortValue(const std::wstring& port, const wchar_t* name) {
    const std::wstring path = std::wstring(kPortsKey) + L"\\" + port;
    wchar_t text[2048] = L"";
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<absent>";
    return text;
}

std::vector<BYTE> RecordBytes(const tolvane::PortConfigRecord& record) {
    std::vector<BYTE> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

class MonitorUnderSpooler : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::wstring dll = MonitorDll();
        MONITOR_INFO_2W info{const_cast<wchar_t*>(L"Tolvane"), nullptr, dll.data()};
        if (!AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&info))) {
            ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
        }
    }
    void SetUp() override {
        Xcv admin(SERVER_ACCESS_ADMINISTER);
        ASSERT_TRUE(admin.ok()) << GetLastError();
        admin.RunOnName(L"DeletePort", L"P");  // left over from an earlier run, if any
    }
    void TearDown() override {
        Xcv admin(SERVER_ACCESS_ADMINISTER);
        admin.RunOnName(L"DeletePort", L"P");
        admin.RunOnName(L"DeletePort", L"ABCDEFG");
    }
};

TEST_F(MonitorUnderSpooler, IsRegisteredUnderItsName) {
    DWORD needed = 0, returned = 0;
    EnumMonitorsW(nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumMonitorsW(nullptr, 2, buffer.data(), needed, &needed, &returned)) << GetLastError();
    const auto* monitors = reinterpret_cast<const MONITOR_INFO_2W*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < returned; ++i) {
        if (std::wstring(monitors[i].pName) == L"Tolvane") {
            found = true;
            EXPECT_EQ(std::wstring(monitors[i].pDLLName), MonitorDll());
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(MonitorUnderSpooler, AddsTestsAndDeletesAPort) {
    Xcv admin(SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(admin.RunOnName(L"AddPort", L"P"), 0u);
    EXPECT_TRUE(PortKeyExists(L"P"));
    EXPECT_EQ(PortValue(L"P", L"Description"), L"Tolvane Port");
    EXPECT_EQ(PortValue(L"P", L"Server"), L"<absent>") << "AddPort writes Description only";

    EXPECT_EQ(admin.RunOnName(L"AddPort", L"P"), 87u);
    EXPECT_EQ(admin.RunOnName(L"PortExists", L"P"), 1802u);
    EXPECT_EQ(admin.RunOnName(L"PortExists", L"NoSuchPort"), 0u);

    ASSERT_EQ(admin.RunOnName(L"DeletePort", L"P"), 0u);
    EXPECT_FALSE(PortKeyExists(L"P"));
    EXPECT_EQ(admin.RunOnName(L"DeletePort", L"P"), 87u);
}

TEST_F(MonitorUnderSpooler, CutsLongPortNamesToSevenCharacters) {
    Xcv admin(SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(admin.RunOnName(L"AddPort", L"ABCDEFGHIJ"), 0u);
    EXPECT_TRUE(PortKeyExists(L"ABCDEFG"));
    EXPECT_FALSE(PortKeyExists(L"ABCDEFGHIJ"));
}

TEST_F(MonitorUnderSpooler, AnswersTheConfigurationRecord) {
    Xcv admin(SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(admin.RunOnName(L"AddPort", L"P"), 0u);
    const std::wstring port = L"P";
    const DWORD nameSize = static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t));

    std::vector<BYTE> small(1000, 0xAB);
    EXPECT_EQ(admin.Run(L"GetConfig", port.c_str(), nameSize, small.data(), 1000), 122u);
    EXPECT_EQ(admin.needed, 43016u);

    std::vector<BYTE> output(tolvane::kPortConfigRecordSize);
    ASSERT_EQ(admin.Run(L"GetConfig", port.c_str(), nameSize, output.data(), static_cast<DWORD>(output.size())), 0u);
    EXPECT_EQ(admin.needed, 43016u);
    tolvane::PortConfigRecord record;
    std::memcpy(&record, output.data(), sizeof record);
    tolvane::PortConfigRecord expected = tolvane::MakeDefaultPortConfig();
    tolvane::SetSlotText(expected, tolvane::ConfigSlot::kPortName, u"P");
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0) << "the monitor defaults";

    tolvane::SetSlotText(record, tolvane::ConfigSlot::kServer, u"10.20.30.40");
    std::vector<BYTE> bytes = RecordBytes(record);
    EXPECT_EQ(admin.Run(L"SetConfig", bytes.data(), 43015), 87u) << "one byte short";
    record.size = 43015;
    std::vector<BYTE> wrongSize = RecordBytes(record);
    EXPECT_EQ(admin.Run(L"SetConfig", wrongSize.data(), static_cast<DWORD>(wrongSize.size())), 87u);
    record.size = tolvane::kPortConfigRecordSize;

    Xcv user(SERVER_ACCESS_ENUMERATE);
    ASSERT_TRUE(user.ok());
    EXPECT_EQ(user.Run(L"SetConfig", bytes.data(), static_cast<DWORD>(bytes.size())), 5u);
    EXPECT_EQ(PortValue(L"P", L"Server"), L"<absent>");

    ASSERT_EQ(admin.Run(L"SetConfig", bytes.data(), static_cast<DWORD>(bytes.size())), 0u);
    EXPECT_EQ(PortValue(L"P", L"Server"), L"10.20.30.40");
    EXPECT_EQ(PortValue(L"P", L"SysMode"), L"0");
}

// The port key holds the fax server's password: only the system and the
// administrators may open it, and GetConfig leaves the password out for
// everyone else.
TEST_F(MonitorUnderSpooler, KeepsThePasswordFromUsers) {
    Xcv admin(SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(admin.RunOnName(L"AddPort", L"P"), 0u);
    const std::wstring path = std::wstring(kPortsKey) + L"\\P";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL, &key), ERROR_SUCCESS);
    std::vector<DWORD> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
    ASSERT_EQ(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer.data(), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    BOOL present = FALSE, defaulted = FALSE;
    ACL* dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl != nullptr);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(buffer.data(), &control, &revision);
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "nothing inherited from the monitor's key";
    std::vector<std::wstring> trustees;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &ace));
        ASSERT_EQ(static_cast<ACE_HEADER*>(ace)->AceType, ACCESS_ALLOWED_ACE_TYPE);
        wchar_t* text = nullptr;
        ASSERT_TRUE(ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &text));
        trustees.emplace_back(text);
        LocalFree(text);
    }
    EXPECT_EQ(trustees, (std::vector<std::wstring>{L"S-1-5-18", L"S-1-5-32-544"}));

    tolvane::PortConfigRecord record = tolvane::MakeDefaultPortConfig();
    tolvane::SetSlotText(record, tolvane::ConfigSlot::kPortName, u"P");
    tolvane::SetSlotText(record, tolvane::ConfigSlot::kPassword, u"my secret");
    std::vector<BYTE> bytes = RecordBytes(record);
    ASSERT_EQ(admin.Run(L"SetConfig", bytes.data(), static_cast<DWORD>(bytes.size())), 0u);
    const std::wstring port = L"P";
    const DWORD nameSize = static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t));
    std::vector<BYTE> output(tolvane::kPortConfigRecordSize);
    Xcv user(SERVER_ACCESS_ENUMERATE);
    ASSERT_EQ(user.Run(L"GetConfig", port.c_str(), nameSize, output.data(), static_cast<DWORD>(output.size())), 0u);
    std::memcpy(&record, output.data(), sizeof record);
    EXPECT_EQ(tolvane::SlotText(record, tolvane::ConfigSlot::kPassword), u"");
    ASSERT_EQ(admin.Run(L"GetConfig", port.c_str(), nameSize, output.data(), static_cast<DWORD>(output.size())), 0u);
    std::memcpy(&record, output.data(), sizeof record);
    EXPECT_EQ(tolvane::SlotText(record, tolvane::ConfigSlot::kPassword), u"my secret");
}

TEST_F(MonitorUnderSpooler, ListsItsPortsInThePortEnumeration) {
    Xcv admin(SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(admin.RunOnName(L"AddPort", L"P"), 0u);
    DWORD needed = 0, returned = 0;
    EXPECT_FALSE(EnumPortsW(nullptr, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_GT(needed, 0u);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumPortsW(nullptr, 2, buffer.data(), needed, &needed, &returned)) << GetLastError();
    const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < returned; ++i) {
        if (std::wstring(ports[i].pPortName) != L"P") continue;
        found = true;
        EXPECT_EQ(std::wstring(ports[i].pMonitorName), L"Tolvane");
        EXPECT_EQ(std::wstring(ports[i].pDescription), L"Tolvane Port");
        EXPECT_EQ(ports[i].fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));
    }
    EXPECT_TRUE(found);
}

// AddPortEx records the port among the machine's ports (where the local monitor
// lists it); a second call for a name in use, in any case, fails.
TEST_F(MonitorUnderSpooler, AddPortExRecordsTheNameOnceAmongTheMachinesPorts) {
    constexpr wchar_t kMachinePorts[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
    wchar_t name[] = L"TVNEX:";
    wchar_t monitor[] = L"Tolvane";
    PORT_INFO_1W info{name};
    ASSERT_TRUE(AddPortExW(nullptr, 1, reinterpret_cast<LPBYTE>(&info), monitor)) << GetLastError();
    wchar_t text[16] = L"x";
    DWORD size = sizeof text;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kMachinePorts, name, RRF_RT_REG_SZ, nullptr, text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(text), L"");

    wchar_t sameInOtherCase[] = L"tvnex:";
    PORT_INFO_1W again{sameInOtherCase};
    EXPECT_FALSE(AddPortExW(nullptr, 1, reinterpret_cast<LPBYTE>(&again), monitor));
    PORT_INFO_1W unnamed{nullptr};
    EXPECT_FALSE(AddPortExW(nullptr, 1, reinterpret_cast<LPBYTE>(&unnamed), monitor));
    EXPECT_FALSE(PortKeyExists(L"TVNEX:")) << "no configuration key on this path";

    HKEY ports = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachinePorts, 0, KEY_SET_VALUE, &ports), ERROR_SUCCESS);
    RegDeleteValueW(ports, name);
    RegCloseKey(ports);
}

TEST_F(MonitorUnderSpooler, NamesItsUserInterfaceLibrary) {
    Xcv user(SERVER_ACCESS_ENUMERATE);
    ASSERT_TRUE(user.ok());
    wchar_t path[MAX_PATH] = L"";
    ASSERT_EQ(user.Run(L"MonitorUI", nullptr, 0, path, sizeof path), 0u);
    const std::wstring answer(path);
    EXPECT_NE(answer.find(L"\\SysWOW64\\Tolvane\\Caskelui.dll"), std::wstring::npos) << answer.size();
    EXPECT_EQ(user.needed, (answer.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(user.Run(L"MonitorUI", nullptr, 0, path, 4), 122u);
}

}  // namespace
