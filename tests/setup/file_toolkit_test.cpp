#include "setup/file_toolkit.h"

#include <gtest/gtest.h>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

using Names = std::vector<std::string>;

TEST(FileToolkitTest, PathsAreJoinedWithOneBackslash) {
    EXPECT_EQ(JoinPath(u"C:\\Temp", u"a.dll"), u"C:\\Temp\\a.dll");
    EXPECT_EQ(JoinPath(u"C:\\", u"a.dll"), u"C:\\a.dll");
    EXPECT_EQ(JoinPath(u"C:\\spool\\drivers\\x64\\", u"a.dll"), u"C:\\spool\\drivers\\x64\\a.dll");
}

TEST(FileToolkitTest, TheDriverPackageOfEachBitnessIsWrittenIntoTheGivenFolder) {
    testing::FakeMachine m(32);
    ExtractDriverPackage(m.files, true, u"C:\\Temp\\Setup");
    EXPECT_EQ(m.files.FileNames(u"C:\\Temp\\Setup"),
              (Names{"APLWMGS1.BPD", "APLWMGS1.PPD", "OstrelCaskel.dll", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT5.DLL"}));
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\PSCRIPT5.DLL"), "WIN32/137");
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\OstrelCaskel.dll"), "MONITOR/151");

    m.files.AddFolder(u"C:\\Temp\\Setup\\x64");
    ExtractDriverPackage(m.files, false, u"C:\\Temp\\Setup\\x64");
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\x64\\APLWMGS1.BPD"), "X64/140");
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\x64\\PSCRIPT.HLP"), "X64/144");
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\x64\\Caskel.dll"), "MONITOR/152");
}

TEST(FileToolkitTest, On32BitWindowsAShippedFolderLandsFlatInTheSystemDirectory) {
    testing::FakeMachine m(32);
    EXPECT_TRUE(CopyFolderToSystemDir(m.files, 32, u"D:\\Release\\system32", true));
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Korrim.exe"), "system32/Korrim.exe");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Readme.txt"), "system32/Readme.txt");
}

TEST(FileToolkitTest, On64BitWindowsTheNativeFlagChoosesTheSystemDirectory) {
    testing::FakeMachine m(64);
    m.files.AddFolder(u"C:\\Windows\\SysWOW64\\Tolvane");
    EXPECT_TRUE(CopyFolderToSystemDir(m.files, 64, u"D:\\Release\\SysWOW64", true));
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Korrim.exe"), "SysWOW64/Korrim.exe");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Caskelui.dll"), "SysWOW64/Caskelui.dll");
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\SysWOW64\\Korrim.exe")) << "the native copy is not redirected";

    EXPECT_TRUE(CopyFolderToSystemDir(m.files, 64, u"D:\\Release\\SysWOW64", false));
    EXPECT_EQ(m.files.FileNames(u"C:\\Windows\\SysWOW64\\Tolvane"), (Names{"Caskelui.dll", "Korrim.exe"}));

    m.files.redirectionSwitchAvailable = false;
    EXPECT_FALSE(CopyFolderToSystemDir(m.files, 64, u"D:\\Release\\system32", true)) << "stops, also in a sub-folder";
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\system32\\Readme.txt"));
}

TEST(FileToolkitTest, ADriverFolderLandsFlatInTheDriverDirectory) {
    testing::FakeMachine m(32);
    CopyDriverFolder(m.files, u"D:\\Release\\QuillonDriver\\amd64", u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\TessaryUni.dll"),
              "amd64/TessaryUni.dll");
    EXPECT_EQ(m.files.FileNames(u"C:\\Windows\\system32\\spool\\drivers\\w32x86").size(), 10u);
}

TEST(FileToolkitTest, TheToolIsCopiedIntoItsInstallFolderAndRemovedWithIt) {
    testing::FakeMachine m(32);
    m.files.AddFolder(u"C:\\Program Files\\Ruddset");
    CopyTree(m.files, u"D:\\Release", u"C:\\Program Files\\Ruddset");
    EXPECT_EQ(m.files.Content(u"C:\\Program Files\\Ruddset\\Ruddock.exe"), "program");
    EXPECT_EQ(m.files.Content(u"C:\\Program Files\\Ruddset\\QuillonDriver\\i386\\plugin\\TessaryUni.dll"),
              "i386/TessaryUni.dll");

    DeleteTree(m.files, u"C:\\Program Files\\Ruddset");
    EXPECT_FALSE(m.files.HasFolder(u"C:\\Program Files\\Ruddset"));
    EXPECT_TRUE(m.files.HasFolder(u"C:\\Program Files"));
    EXPECT_TRUE(m.files.Content(u"D:\\Release\\Ruddock.exe")) << "the source stays";
}

TEST(FileToolkitTest, ATreeIsNeverCopiedIntoItself) {
    testing::FakeMachine m(32);
    m.files.AddFile(u"C:\\Program Files\\Other\\other.exe", "other");
    m.files.AddFolder(u"C:\\Program Files\\Ruddset");
    // Started from "Program Files" itself, and from its own install folder.
    CopyTree(m.files, u"C:\\Program Files", u"C:\\program files\\Ruddset\\");
    EXPECT_EQ(m.files.Content(u"C:\\Program Files\\Ruddset\\Other\\other.exe"), "other");
    EXPECT_FALSE(m.files.HasFolder(u"C:\\Program Files\\Ruddset\\Ruddset"));
    CopyTree(m.files, u"C:\\Program Files\\Ruddset", u"C:\\Program Files\\Ruddset");
    EXPECT_EQ(m.files.FileNames(u"C:\\Program Files\\Ruddset").size(), 0u);
}

}  // namespace
}  // namespace tolvane
