#include <gtest/gtest.h>

#include "rasterback/backend_settings.h"
#include "rasterback/ini_profile.h"

namespace rasterback {
namespace {

TEST(CalderineSettings, DefaultsWhenTheFileIsMissingOrEmpty) {
    IniProfile missing = IniProfile::fromFile("/nonexistent/Calderine.ini");
    EXPECT_EQ(readOutputPath(missing), "c:\\test.tif");
    EXPECT_EQ(readCompressionScheme(missing), CompressionScheme::Group3);
    const FollowUpProgram run = readFollowUpProgram(missing);
    EXPECT_FALSE(run.enabled);

    IniProfile emptyValues("[save]\noutputfile=\n[SYSTEM]\nCompress=\n");
    EXPECT_EQ(readOutputPath(emptyValues), ".tif") << "an empty value is a value, as the profile functions read it";
    EXPECT_EQ(readCompressionScheme(emptyValues), CompressionScheme::Group3);
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
    EXPECT_EQ(readOutputPath(ini), "d:\\fax out\\doc.tif");
    EXPECT_EQ(readCompressionScheme(ini), CompressionScheme::Group4);
    const FollowUpProgram run = readFollowUpProgram(ini);
    EXPECT_TRUE(run.enabled);
    EXPECT_EQ(run.program, "c:\\tools\\after.exe");
    EXPECT_EQ(run.show, ShowState::Minimized);
}

TEST(CalderineSettings, LimitsTheOutputFileTo520CharactersBeforeTheExtension) {
    IniProfile ini("[save]\noutputfile=" + std::string(600, 'a') + "\n");
    EXPECT_EQ(readOutputPath(ini), std::string(520, 'a') + ".tif");
}

TEST(CalderineSettings, MapsCmdShowAndIntegerText) {
    EXPECT_EQ(showStateFromSetting(0), ShowState::Normal);
    EXPECT_EQ(showStateFromSetting(1), ShowState::Minimized);
    for (int other : {2, 3, -1, 99}) EXPECT_EQ(showStateFromSetting(other), ShowState::Hidden) << other;

    EXPECT_EQ(parseProfileInt("12abc"), 12);
    EXPECT_EQ(parseProfileInt("  -3"), -3);
    EXPECT_EQ(parseProfileInt("abc"), 0);
    EXPECT_EQ(parseProfileInt("99999999999999"), 2147483647);

    IniProfile ini("[SYSTEM]\nCompress=abc\n[run]\nenablerun=0\nexefilename=x.exe\n");
    EXPECT_EQ(readCompressionScheme(ini), CompressionScheme::None);
    EXPECT_FALSE(readFollowUpProgram(ini).enabled);
}

TEST(CalderineSettings, FirstOfRepeatedKeysWins) {
    IniProfile ini("[SYSTEM]\nCompress=2\nCompress=1\n[system]\nCompress=0\n");
    EXPECT_EQ(readCompressionScheme(ini), CompressionScheme::Group4);
}

TEST(CalderineSettings, SettingsFileSitsInTheWindowsFolder) {
    EXPECT_EQ(settingsFilePath(std::string("D:\\WINNT"), "C:\\Windows"), "D:\\WINNT\\Calderine.ini");
    EXPECT_EQ(settingsFilePath(std::nullopt, "C:\\Windows"), "C:\\Windows\\Calderine.ini");
}

}  // namespace
}  // namespace rasterback
