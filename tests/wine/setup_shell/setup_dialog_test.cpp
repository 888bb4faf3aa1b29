// The setup tool's main dialog under Wine, worked through its controls as the
// window's messages reach them: the Windows line and the log's first entries,
// the language list over Language.ini beside the program, relabelling and
// Setting.ini, the status line after an operation's result, the printer
// choice, the About box, and the differences of the older build (its own
// template, taken from Ruddset.exe, and no remembered language). Also the two
// programs' version resources and embedded files.

#include "setup/win32/windows_api.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/win32/wide_text.h"
#include "common/language/language_ini.h"
#include "setup/os_kind.h"
#include "setup/setup_variant.h"
#include "setup/win32/install_paths.h"
#include "common/port_values.h"
#include "setup/win32/setup_main_dialog.h"
#include "setup/win32/setup_resource_ids.h"
#include "setup/win32/shell_integration.h"
#include "setup/win32/system_facts.h"
#include "setup/win32/win32_file_system.h"

namespace tolvane {
namespace {

// Long enough for a cold 32-bit start under emulation.
constexpr DWORD kWindowWaitMs = 60000;

constexpr char16_t kLanguageIni[] =
    u"; Test texts of the setup tool\r\n"
    u"[EN]\r\n"
    u"LANGUAGE=English\r\n"
    u"ID_MSG_ADMIN=Only an administrator may do this.\r\n"
    u"ID_MSG_COMPLETE=Complete\r\n"
    u"ID_MSG_NOTICE=%s is logged on, the tool runs as %s.\\r\\nGo on as %s?\r\n"
    u"IDC_STATIC_OS=System:\r\n"
    u"IDC_STATIC_PWL=Task\r\n"
    u"IDC_STATIC_PRINTERTYPE=Printer type\r\n"
    u"IDC_RADIO_TVN=PostScript fax\r\n"
    u"IDC_RADIO_QLN=Raster fax\r\n"
    u"IDC_BTN_INSTALL=Install\r\n"
    u"IDC_BTN_UNINSTALL=Uninstall\r\n"
    u"IDC_BTN_TEST=Test\r\n"
    u"IDC_BTN_CONFIG=Ports\r\n"
    u"IDC_STATIC_OP=Ready\r\n"
    u"IDC_STATIC_COMPLETE=Progress\r\n"
    u"[DE]\r\n"
    u"LANGUAGE=Deutsch\r\n"
    u"ID_MSG_COMPLETE=Fertig\r\n"
    u"IDC_STATIC_OS=System:\r\n"
    u"IDC_BTN_CONFIG=Anschl\u00FCsse\r\n"
    u"IDC_BTN_INSTALL=Installieren\r\n"
    u"IDC_STATIC_OP=Bereit\r\n"
    u"IDC_STATIC_COMPLETE=Fortschritt\r\n";

class RecordingLog final : public SetupLog {
public:
    bool Write(std::u16string_view text, int status) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        entries_.emplace_back(std::u16string(text), status);
        return true;
    }
    std::vector<std::pair<std::u16string, int>> Entries() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return entries_;
    }
    bool Has(std::u16string_view text) const {
        for (const auto& entry : Entries())
            if (entry.first == text) return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::u16string, int>> entries_;
};

HWND WaitForWindow(const wchar_t* caption) {
    for (DWORD waited = 0; waited < kWindowWaitMs; waited += 50) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

std::u16string Text(HWND window, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(window, id, text, 512);
    return ToU16(text);
}

void Command(HWND window, int id, int code) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void ChooseLanguage(HWND window, int index) {
    SendDlgItemMessageW(window, IDC_LANGUAGE, CB_SETCURSEL, index, 0);
    Command(window, IDC_LANGUAGE, CBN_SELCHANGE);
}

int ChosenLanguage(HWND window) {
    return static_cast<int>(SendDlgItemMessageW(window, IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
}

bool Visible(HWND window, int id) { return (GetWindowLongW(GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0; }

// The main dialog running modally on a thread of its own, closed at the end.
class RunningDialog {
public:
    RunningDialog(HINSTANCE resources, const SetupVariant& variant, RecordingLog& log,
                  PortDialogsOpener portDialogs = nullptr) {
        thread_ = std::thread([resources, &variant, &log, portDialogs] {
            SetupMainDialog dialog(resources, variant, log, portDialogs);
            dialog.Run();
        });
        const std::wstring caption = ToWide(variant.programName);
        window_ = WaitForWindow(caption.c_str());
    }
    ~RunningDialog() { Close(); }
    RunningDialog(const RunningDialog&) = delete;
    RunningDialog& operator=(const RunningDialog&) = delete;

    HWND Window() const { return window_; }
    void Close() {
        if (!thread_.joinable()) return;
        if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
        window_ = nullptr;
    }

private:
    std::thread thread_;
    HWND window_ = nullptr;
};

class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bytes = EncodeUtf16Le(kLanguageIni);
        const std::u16string path = JoinPath(ProgramFolder(), kLanguageFileName);
        HANDLE file = CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD done = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        CloseHandle(file);
        Win32FileSystem files;
        settingsFile_ = SettingsFile(files.WindowsDirectory());
        DeleteFileW(AsWide(settingsFile_));
    }
    void TearDown() override { DeleteFileW(AsWide(settingsFile_)); }

    static std::u16string JoinPath(const std::u16string& folder, std::u16string_view name) {
        return folder + u"\\" + std::u16string(name);
    }

    std::u16string settingsFile_;
};

TEST_F(SetupDialog, StartsWithTheWindowsLineTheLanguagesAndOnlyRuddocksControls) {
    RecordingLog log;
    RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr) << "the main dialog did not appear";

    const std::u16string osLine = OsLine(static_cast<int>(ClassifyOs(QueryOsVersion())), DetectBitness());
    EXPECT_EQ(Text(window, IDC_STATIC_OSLINE), osLine);
    const auto entries = log.Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0], std::make_pair(std::u16string(u"Program Start Running..."), 1));
    EXPECT_EQ(entries[1], std::make_pair(osLine, 1));

    HWND list = GetDlgItem(window, IDC_LANGUAGE);
    ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
    wchar_t item[64] = {};
    SendMessageW(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"Deutsch");
    EXPECT_EQ(ChosenLanguage(window), 0);
    EXPECT_EQ(Text(window, IDC_STATIC_OS), u"System:");
    EXPECT_EQ(Text(window, IDC_BTN_CONFIG), u"Ports");
    EXPECT_EQ(Text(window, IDC_STATIC_OP), u"Ready");
    EXPECT_EQ(Text(window, IDC_STATIC_COMPLETE), u"Progress");

    for (int id : {IDC_STATIC_OS, IDC_STATIC_OSLINE, IDC_LANGUAGE, IDC_BTN_CONFIG})
        EXPECT_TRUE(Visible(window, id)) << id;
    for (int id : {IDC_BTN_INSTALL, IDC_BTN_UNINSTALL, IDC_BTN_TEST, IDC_RADIO_TVN, IDC_PROGRESS, IDC_STATIC_OP})
        EXPECT_FALSE(Visible(window, id)) << id;

    wchar_t about[64] = {};
    GetMenuStringW(GetSystemMenu(window, FALSE), IDM_ABOUTBOX, about, 64, MF_BYCOMMAND);
    EXPECT_STREQ(about, L"\u5173\u4E8E TolvaneInstall(&A)...");

    // Return "presses" the hidden default button: nothing may be installed.
    Command(window, IDC_BTN_INSTALL, BN_CLICKED);
    EXPECT_FALSE(log.Has(u"Tolvane Install Starting..."));

    dialog.Close();
    ASSERT_FALSE(log.Entries().empty());
    EXPECT_EQ(log.Entries().back(), std::make_pair(std::u16string(u"End Program!"), 1));
}

TEST_F(SetupDialog, AChosenLanguageRelabelsIsRememberedAndSelectedAtTheNextStart) {
    {
        RecordingLog log;
        RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr);
        ChooseLanguage(window, 1);
        EXPECT_EQ(Text(window, IDC_BTN_CONFIG), u"Anschl\u00FCsse");
        EXPECT_EQ(Text(window, IDC_STATIC_OP), u"Bereit");
        EXPECT_EQ(Text(window, IDC_STATIC_PWL), u"NOVALUE") << "a key the language lacks";
        EXPECT_EQ(ReadDefaultLanguage(settingsFile_), u"DE");

        // An operation's result in the status line: the new language's idle
        // text replaces it and the completion label starts over at 0.
        SetDlgItemTextW(window, IDC_STATIC_OP, L"Tolvane was installed.");
        ChooseLanguage(window, 0);
        EXPECT_EQ(Text(window, IDC_STATIC_OP), u"Ready");
        EXPECT_EQ(Text(window, IDC_STATIC_COMPLETE), u"Complete:0%");
        // With the idle text showing, the bare caption.
        ChooseLanguage(window, 1);
        EXPECT_EQ(Text(window, IDC_STATIC_COMPLETE), u"Fortschritt");

        // The raster printer has no port configuration.
        CheckRadioButton(window, IDC_RADIO_TVN, IDC_RADIO_QLN, IDC_RADIO_QLN);
        Command(window, IDC_RADIO_QLN, BN_CLICKED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_BTN_CONFIG)));
        CheckRadioButton(window, IDC_RADIO_TVN, IDC_RADIO_QLN, IDC_RADIO_TVN);
        Command(window, IDC_RADIO_TVN, BN_CLICKED);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_BTN_CONFIG)));
    }
    RecordingLog log;
    RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log);
    ASSERT_NE(dialog.Window(), nullptr);
    EXPECT_EQ(ChosenLanguage(dialog.Window()), 1);
    EXPECT_EQ(Text(dialog.Window(), IDC_BTN_INSTALL), u"Installieren");
}

TEST_F(SetupDialog, ARememberedLanguageWithoutASectionGivesNovalueAndTheFirstItem) {
    ASSERT_TRUE(WriteDefaultLanguage(settingsFile_, u"XX"));
    RecordingLog log;
    RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log);
    ASSERT_NE(dialog.Window(), nullptr);
    EXPECT_EQ(ChosenLanguage(dialog.Window()), 0);
    EXPECT_EQ(Text(dialog.Window(), IDC_BTN_CONFIG), u"NOVALUE");
}

TEST_F(SetupDialog, TheAboutBoxOpensFromTheSystemMenu) {
    RecordingLog log;
    RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log);
    ASSERT_NE(dialog.Window(), nullptr);
    PostMessageW(dialog.Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = WaitForWindow(L"About Ruddock");
    ASSERT_NE(about, nullptr);
    bool titled = false;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[64] = {};
        GetWindowTextW(child, text, 64);
        titled = titled || std::wstring(text) == L"Ruddock 1.0.7.5";
    }
    EXPECT_TRUE(titled);
    SendMessageW(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(about));
}

// --- the two programs -------------------------------------------------------

// A program the suite put beside this one, loaded for its resources only.
class ProgramResources {
public:
    explicit ProgramResources(std::u16string_view file) {
        const std::u16string path = ProgramFolder() + u"\\" + std::u16string(file);
        path_ = path;
        module_ = LoadLibraryExW(AsWide(path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~ProgramResources() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;
    HMODULE Module() const { return module_; }
    const std::u16string& Path() const { return path_; }

    // The bytes of a resource, empty when it is missing.
    std::string Bytes(const wchar_t* type, int id) const {
        HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (resource == nullptr) return {};
        HGLOBAL loaded = LoadResource(module_, resource);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(module_, resource)) : std::string();
    }

private:
    std::u16string path_;
    HMODULE module_ = nullptr;
};

// The machine field of a PE image: 0x14C i386, 0x8664 x86_64; 0 for anything else.
unsigned PeMachine(const std::string& image) {
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(image[i])); };
    const std::size_t pe = at(0x3C) | at(0x3D) << 8 | at(0x3E) << 16 | at(0x3F) << 24;
    if (pe + 6 > image.size() || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return at(pe + 4) | at(pe + 5) << 8;
}

std::u16string FileVersion(const std::u16string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(AsWide(path), &handle);
    if (size == 0) return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(AsWide(path), 0, size, block.data())) return {};
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&text),
                        &length))
        return {};
    return ToU16(text);
}

TEST(SetupPrograms, VersionsAndEmbeddedFiles) {
    for (const auto& [file, version] : {std::pair(u"Ruddock.exe", u"1.0.7.5"), std::pair(u"Ruddset.exe", u"1.0.7.4")}) {
        const ProgramResources program(file);
        ASSERT_NE(program.Module(), nullptr) << ToWide(program.Path()).c_str() << " is missing";
        EXPECT_EQ(FileVersion(program.Path()), version);
        for (int id = 134; id <= 138; ++id) EXPECT_FALSE(program.Bytes(L"WIN32", id).empty()) << id;
        for (int id = 140; id <= 144; ++id) EXPECT_FALSE(program.Bytes(L"X64", id).empty()) << id;
        EXPECT_EQ(PeMachine(program.Bytes(L"MONITOR", 151)), 0x14Cu) << "OstrelCaskel.dll, 32-bit";
        EXPECT_EQ(PeMachine(program.Bytes(L"MONITOR", 152)), 0x8664u) << "Caskel.dll, 64-bit";
    }
}

// What Ruddock's port dialogs were opened with, recorded in their place.
struct OpenedPortDialogs {
    std::atomic<int> count{0};
    std::u16string buttonText;  // a text of the dialog's language
    std::u16string caption;
};
OpenedPortDialogs openedPortDialogs;

void RecordPortDialogs(HWND, const LanguageIni& language, std::u16string_view programName) {
    openedPortDialogs.buttonText = language.Read(u"IDC_BTN_CONFIG");
    openedPortDialogs.caption = std::u16string(programName);
    ++openedPortDialogs.count;  // last: the test reads the texts once it sees the count
}

TEST_F(SetupDialog, PortConfigurationOpensThePortDialogsInTheDialogsLanguageWhenThePortsKeyExists) {
    const std::wstring portsKey = ToWide(kSetupPortsKeyPath);
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, portsKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    openedPortDialogs.count = 0;
    RecordingLog log;
    RunningDialog dialog(GetModuleHandleW(nullptr), kRuddock, log, RecordPortDialogs);
    ASSERT_NE(dialog.Window(), nullptr);
    ChooseLanguage(dialog.Window(), 1);
    // Posted: were a notice box to ask first, the test would not wait on it.
    PostMessageW(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDC_BTN_CONFIG, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.Window(), IDC_BTN_CONFIG)));
    for (int i = 0; i < 600 && openedPortDialogs.count == 0; ++i) Sleep(100);
    EXPECT_EQ(openedPortDialogs.count, 1);
    EXPECT_EQ(openedPortDialogs.buttonText, u"Anschl\u00FCsse");
    EXPECT_EQ(openedPortDialogs.caption, u"Ruddock");
    dialog.Close();
}

TEST_F(SetupDialog, RuddsetShowsEveryControlAndRemembersNoLanguage) {
    const ProgramResources ruddset(u"Ruddset.exe");
    ASSERT_NE(ruddset.Module(), nullptr) << "Ruddset.exe beside the test program";
    ASSERT_TRUE(WriteDefaultLanguage(settingsFile_, u"DE"));
    {
        RecordingLog log;
        RunningDialog dialog(ruddset.Module(), kRuddset, log);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr) << "Ruddset's main dialog did not appear";
        EXPECT_EQ(ChosenLanguage(window), 0) << "Ruddset always starts in EN";
        EXPECT_EQ(Text(window, IDC_BTN_CONFIG), u"Ports");
        for (int id : {IDC_BTN_INSTALL, IDC_BTN_UNINSTALL, IDC_BTN_TEST, IDC_BTN_CONFIG, IDC_RADIO_TVN, IDC_RADIO_QLN,
                       IDC_PROGRESS, IDC_STATIC_OP, IDC_STATIC_COMPLETE, IDC_STATIC_PWL, IDC_STATIC_PRINTERTYPE})
            EXPECT_TRUE(Visible(window, id)) << id;
        RECT test{}, config{};
        GetWindowRect(GetDlgItem(window, IDC_BTN_TEST), &test);
        GetWindowRect(GetDlgItem(window, IDC_BTN_CONFIG), &config);
        EXPECT_LT(test.top, config.top) << "Test above Port configuration";

        DeleteFileW(AsWide(settingsFile_));
        ChooseLanguage(window, 1);
        EXPECT_EQ(Text(window, IDC_BTN_CONFIG), u"Anschl\u00FCsse");
        Win32FileSystem files;
        EXPECT_FALSE(files.Exists(settingsFile_)) << "the older build stores no language";
    }
}

// --- screenshots ------------------------------------------------------------

// Not a test: screenshots.sh runs it in a Wine virtual desktop under Xvfb. It
// starts the real programs beside it and poses each window, writing
// C:\tolvane-setup-shots\<step>.ready and waiting for <step>.done, which the
// script writes once it has captured the screen.
class ScreenshotSteps {
public:
    ScreenshotSteps() { CreateDirectoryW(kFolder, nullptr); }
    bool Pose(const wchar_t* step) {
        const std::wstring ready = std::wstring(kFolder) + L"\\" + step + L".ready";
        const std::wstring done = std::wstring(kFolder) + L"\\" + step + L".done";
        CloseHandle(CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        for (DWORD waited = 0; waited < kWindowWaitMs; waited += 100) {
            if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Sleep(100);
        }
        return false;
    }

private:
    static constexpr wchar_t kFolder[] = L"C:\\tolvane-setup-shots";
};

HANDLE StartProgram(const std::u16string& file) {
    std::wstring line = L"\"" + ToWide(ProgramFolder() + u"\\" + file) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

void EndProgram(HWND window, HANDLE process) {
    if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    CloseHandle(process);
}

TEST(Screenshots, DISABLED_PoseTheMainDialogsAndTheAboutBox) {
    ScreenshotSteps steps;
    HANDLE ruddock = StartProgram(u"Ruddock.exe");
    ASSERT_NE(ruddock, nullptr);
    HWND main = WaitForWindow(L"Ruddock");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(steps.Pose(L"ruddock-main"));
    PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = WaitForWindow(L"About Ruddock");
    ASSERT_NE(about, nullptr);
    // Where the system puts it: over the main dialog, as a user sees it.
    EXPECT_TRUE(steps.Pose(L"about"));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EndProgram(main, ruddock);

    HANDLE ruddset = StartProgram(u"Ruddset.exe");
    ASSERT_NE(ruddset, nullptr);
    HWND older = WaitForWindow(L"Ruddset");
    ASSERT_NE(older, nullptr);
    EXPECT_TRUE(steps.Pose(L"ruddset-main"));
    EndProgram(older, ruddset);
}

}  // namespace
}  // namespace tolvane
