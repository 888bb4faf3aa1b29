#include <gtest/gtest.h>

#include "rasterback/backend_settings.h"
#include "rasterback/ini_profile.h"

namespace tolvane {
namespace {

TEST(CalderineSettings, DefaultsWhenTheFileIsMissingOrEmpty) {
    IniProfile missing = IniProfile::FromFile("/nonexistent/Calderine.ini");
    EXPECT_EQ(ReadOutputPath(missing), "c:\\test.tif");
    EXPECT_EQ(ReadCompressionScheme(missing), CompressionScheme::Group3);
    const FollowUpProgram run = ReadFollowUpProgram(missing);
    EXPECT_FALSE(run.enabled);

    IniProfile emptyValues("[save]\noutputfile=\n[SYSTEM]\nCompress=\n");
    EXPECT_EQ(ReadOutputPath(emptyValues), ".tif") << "an empty value is a value, as the profile functions read it";
    EXPECT_EQ(ReadCompressionScheme(emptyValues), CompressionScheme::Group3);
}

TEST(CalderineSettings, ReadsKeysWithoutRegardToCaseAndBlanks) {
    IniProfile ini(
        "; fax settings\r\n"
        "[Save]\r\n"
        "  OutputFile = \"d:\\fax out\\doc\" \r\n"
        "[system]\r\n"
        "compress=2\r\n"
        "[RUN]\r\n"
        "EnableRun=1\r\n"
        "ExeFileName=c:\\tools\\after.exe\r\n"
        "cmdshow=1\r\n");
    EXPECT_EQ(ReadOutputPath(ini), "d:\\fax out\\doc.tif");
    EXPECT_EQ(ReadCompressionScheme(ini), CompressionScheme::Group4);
    const FollowUpProgram run = ReadFollowUpProgram(ini);
    EXPECT_TRUE(run.enabled);
    EXPECT_EQ(run.program, "c:\\tools\\after.exe");
    EXPECT_EQ(run.show, ShowState::Minimized);
}

TEST(CalderineSettings, LimitsTheOutputFileTo520CharactersBeforeTheExtension) {
    IniProfile ini("[save]\noutputfile=" + std::string(600, 'a') + "\n");
    EXPECT_EQ(ReadOutputPath(ini), std::string(520, 'a') + ".tif");
}

TEST(CalderineSettings, MapsCmdShowAndIntegerText) {
    EXPECT_EQ(ShowStateFromSetting(0), ShowState::Normal);
    EXPECT_EQ(ShowStateFromSetting(1), ShowState::Minimized);
    for (int other : {2, 3, -1, 99}) EXPECT_EQ(ShowStateFromSetting(other), ShowState::Hidden) << other;

    EXPECT_EQ(ParseProfileInt("12abc"), 12);
    EXPECT_EQ(ParseProfileInt("  -3"), -3);
    EXPECT_EQ(ParseProfileInt("abc"), 0);
    EXPECT_EQ(ParseProfileInt("99999999999999"), 2147483647);

    IniProfile ini("[SYSTEM]\nCompress=abc\n[run]\nenablerun=0\nexefilename=x.exe\n");
    EXPECT_EQ(ReadCompressionScheme(ini), CompressionScheme::None);
    EXPECT_FALSE(ReadFollowUpProgram(ini).enabled);
}

TEST(CalderineSettings, FirstOfRepeatedKeysWins) {
    IniProfile ini("[SYSTEM]\nCompress=2\nCompress=1\n[system]\nCompress=0\n");
    EXPECT_EQ(ReadCompressionScheme(ini), CompressionScheme::Group4);
}

TEST(CalderineSettings, SettingsFileSitsInTheWindowsFolder) {
    EXPECT_EQ(SettingsFilePath(std::string("D:\\WINNT"), "C:\\Windows"), "D:\\WINNT\\Calderine.ini");
    EXPECT_EQ(SettingsFilePath(std::nullopt, "C:\\Windows"), "C:\\Windows\\Calderine.ini");
}

}  // namespace
}  // namespace tolvane
