// The setup tool's places: the install folder named from the Windows drive,
// the remembered language in Setting.ini, and what the tool finds out about
// the machine and itself when it starts.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/win32/wide_text.h"
#include "common/language/language_ini.h"
#include "setup/win32/install_paths.h"
#include "setup/win32/shell_integration.h"
#include "setup/win32/system_facts.h"
#include "common/win32/account_names.h"
#include "setup/win32/win32_file_system.h"

namespace tolvane {
namespace {

std::u16string TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return ToU16(folder) + ToU16(name);
}

TEST(InstallPaths, FollowTheWindowsDrive) {
    EXPECT_EQ(WindowsDrive(u"C:\\WINDOWS"), u"C:");
    EXPECT_EQ(WindowsDrive(u"D:\\"), u"D:");
    EXPECT_EQ(InstallFolder(u"E:\\WINNT"), u"E:\\Program Files\\Ruddset");
    EXPECT_EQ(SettingsFile(u"C:\\windows"), u"C:\\Program Files\\Ruddset\\Setting.ini");
}

TEST(SettingsFile, DefaultLanguageIsEnglishWithoutTheFileOrTheValue) {
    const std::u16string path = TempFile(L"tolvane-setting-missing.ini");
    DeleteFileW(AsWide(path));
    EXPECT_EQ(ReadDefaultLanguage(path), u"EN");
    const std::string other = "[Other]\r\nDefLanguage=DE\r\n";
    HANDLE file = CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, other.data(), static_cast<DWORD>(other.size()), &done, nullptr);
    CloseHandle(file);
    EXPECT_EQ(ReadDefaultLanguage(path), u"EN");
    DeleteFileW(AsWide(path));
}

TEST(SettingsFile, ANewFileIsUtf16AndKeepsAnyLanguageName) {
    const std::u16string path = TempFile(L"tolvane-setting-new.ini");
    DeleteFileW(AsWide(path));
    ASSERT_TRUE(WriteDefaultLanguage(path, u"DE"));
    EXPECT_EQ(ReadDefaultLanguage(path), u"DE");
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, 4096, bytes));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    // A name no ANSI code page holds survives, and a second write replaces the first.
    ASSERT_TRUE(WriteDefaultLanguage(path, u"\u4E2D\u6587"));
    EXPECT_EQ(ReadDefaultLanguage(path), u"\u4E2D\u6587");
    ASSERT_TRUE(ReadFileBytes(path, 4096, bytes));
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    const IniDocument document = IniDocument::Parse(bytes);
    EXPECT_EQ(document.SectionNames(), std::vector<std::u16string>{u"Set"});
    ASSERT_NE(document.Find(u"Set", u"DefLanguage"), nullptr);
    EXPECT_EQ(*document.Find(u"Set", u"DefLanguage"), u"\u4E2D\u6587");
    DeleteFileW(AsWide(path));
}

TEST(SystemFacts, TheMachineAndTheProgram) {
    const OsVersion version = QueryOsVersion();
    EXPECT_TRUE(version.isNt);
    EXPECT_GE(version.major, 5u);
    // The suite says which prefix this is.
    char expected[8] = {};
    if (GetEnvironmentVariableA("TOLVANE_EXPECT_BITNESS", expected, sizeof expected) > 0) {
        EXPECT_EQ(DetectBitness(), std::atoi(expected));
    }
    // Wine's user is an administrator (its token holds the group).
    EXPECT_TRUE(IsUserAdmin());

    wchar_t module[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
    EXPECT_EQ(ProgramPath(), ToU16(module));
    const std::u16string folder = ProgramFolder();
    EXPECT_EQ(ProgramPath().substr(0, folder.size() + 1), folder + u"\\");
    EXPECT_EQ(ProgramPath().find(u'\\', folder.size() + 1), std::u16string::npos);

    EXPECT_FALSE(ProcessUserName().empty());
}

TEST(SystemFacts, EachRunGetsAnEmptyFolderOfItsOwn) {
    const std::u16string first = CreateWorkFolder();
    const std::u16string second = CreateWorkFolder();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    Win32FileSystem files;
    EXPECT_TRUE(files.ListFolder(first).empty());
    EXPECT_TRUE(RemoveDirectoryW(AsWide(first)));
    EXPECT_TRUE(RemoveDirectoryW(AsWide(second)));
}

}  // namespace
}  // namespace tolvane
