#include "common/language/language_ini.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Language.ini as it is shipped: UTF-16LE with its mark, CR LF lines.
const std::u16string kShipped =
    u"; texts of the setup tool\r\n"
    u"[EN]\r\n"
    u"LANGUAGE=English\r\n"
    u"IDC_BTN_INSTALL = Install \r\n"
    u"ID_MSG_NOTICE=\"  quoted, blanks kept  \"\r\n"
    u"TVN_MSG_TEST='single'\r\n"
    u"IDC_BTN_INSTALL=second of a key\r\n"
    u"[DE]\r\n"
    u"LANGUAGE=Deutsch\r\n"
    u"IDC_BTN_INSTALL=Installieren \u00FC\r\n"
    u"[ZH]\r\n"
    u"IDC_BTN_TEST=\u6D4B\u8BD5\r\n"
    u"[en]\r\n"
    u"LATE=a repeated section's keys are not found\r\n";

LanguageIni Loaded(const std::u16string& section) {
    LanguageIni ini;
    EXPECT_EQ(ini.SetFile(u"D:\\Release\\Language.ini", EncodeUtf16Le(kShipped)), 0);
    EXPECT_EQ(ini.SetSection(section), 0);
    return ini;
}

TEST(LanguageIniTest, ReadsTheShippedFileWithTheProfileRules) {
    const LanguageIni en = Loaded(u"EN");
    EXPECT_EQ(en.Read(u"LANGUAGE"), u"English");
    EXPECT_EQ(en.Read(u"idc_btn_install"), u"Install") << "names without case, value trimmed, first key wins";
    EXPECT_EQ(en.Read(u"ID_MSG_NOTICE"), u"  quoted, blanks kept  ");
    EXPECT_EQ(en.Read(u"TVN_MSG_TEST"), u"single");
    EXPECT_EQ(en.Read(u"LATE"), kNoValue);
    EXPECT_EQ(Loaded(u"de").Read(u"IDC_BTN_INSTALL"), u"Installieren \u00FC");
    EXPECT_EQ(Loaded(u"ZH").Read(u"IDC_BTN_TEST"), u"\u6D4B\u8BD5");
}

TEST(LanguageIniTest, SectionsAreListedInFileOrderOnce) {
    const LanguageIni ini = Loaded(u"EN");
    EXPECT_EQ(ini.Document().SectionNames(), (std::vector<std::u16string>{u"EN", u"DE", u"ZH"}));
    // A section without LANGUAGE shows as "NOVALUE" in the language list.
    EXPECT_EQ(Loaded(u"ZH").Read(u"LANGUAGE"), kNoValue);
}

TEST(LanguageIniTest, MissingFileSectionOrKeyGivesNoValue) {
    LanguageIni ini;
    EXPECT_EQ(ini.Read(u"LANGUAGE"), kNoValue) << "nothing set yet";
    ini.SetFile(u"D:\\Elsewhere\\Language.ini", "");
    ini.SetSection(u"EN");
    EXPECT_EQ(ini.Read(u"LANGUAGE"), kNoValue) << "missing file";
    EXPECT_TRUE(ini.Document().SectionNames().empty());
    EXPECT_EQ(Loaded(u"FR").Read(u"LANGUAGE"), kNoValue) << "missing section";
    EXPECT_EQ(Loaded(u"EN").Read(u"NO_SUCH_KEY"), kNoValue) << "missing key";
    EXPECT_EQ(Loaded(u"EN").Read(std::u16string_view()), kNoValue) << "null key";
}

TEST(LanguageIniTest, OverlongNamesAreRefusedAndTheOldOnesStay) {
    LanguageIni ini = Loaded(u"EN");
    EXPECT_EQ(ini.SetSection(std::u16string(512, u'S')), -1);
    EXPECT_EQ(ini.SetSection(std::u16string_view()), -1);
    EXPECT_EQ(ini.SetFile(std::u16string(512, u'p'), "[EN]\nLANGUAGE=other\n"), -1);
    EXPECT_EQ(ini.Section(), u"EN");
    EXPECT_EQ(ini.Path(), u"D:\\Release\\Language.ini");
    EXPECT_EQ(ini.Read(u"LANGUAGE"), u"English") << "the old file's texts stay too";
    EXPECT_EQ(ini.SetSection(std::u16string(511, u'S')), 0);
    EXPECT_EQ(ini.Section().size(), 511u);
}

TEST(LanguageIniTest, ValuesAreCutAt511Characters) {
    const std::u16string longValue(600, u'v');
    LanguageIni ini;
    ini.SetFile(u"x.ini", EncodeUtf16Le(u"[EN]\r\nLONG=" + longValue + u"\r\nPAIR=" + std::u16string(510, u'v') +
                                        u"\xD83D\xDCE0\r\n"));
    ini.SetSection(u"EN");
    EXPECT_EQ(ini.Read(u"LONG"), std::u16string(511, u'v'));
    EXPECT_EQ(ini.Read(u"PAIR"), std::u16string(510, u'v')) << "no half of a surrogate pair";
}

TEST(LanguageIniTest, FilesWithoutTheUtf16Mark) {
    // Plain ASCII with LF lines; a byte of some code page reads as U+FFFD.
    const IniDocument ascii = IniDocument::Parse("[EN]\nLANGUAGE=English\nMARK=caf\xE9\n");
    ASSERT_NE(ascii.Find(u"EN", u"LANGUAGE"), nullptr);
    EXPECT_EQ(*ascii.Find(u"EN", u"LANGUAGE"), u"English");
    EXPECT_EQ(*ascii.Find(u"EN", u"MARK"), u"caf\uFFFD");
    // UTF-8 with its mark, as an editor may save the file.
    const IniDocument utf8 = IniDocument::Parse("\xEF\xBB\xBF[DE]\r\nLANGUAGE=Deutsch \xC3\xBC\r\nBAD=\xC3\r\n");
    EXPECT_EQ(utf8.SectionNames(), std::vector<std::u16string>{u"DE"});
    EXPECT_EQ(*utf8.Find(u"DE", u"LANGUAGE"), u"Deutsch \u00FC");
    EXPECT_EQ(*utf8.Find(u"DE", u"BAD"), u"\uFFFD");
}

TEST(LanguageIniTest, MalformedLinesAreSkipped) {
    const IniDocument document = IniDocument::Parse(
        "KEY=before any section\n[EN\nA=open bracket\n[ X ] trailing\nB\n=no name\n;C=comment\n C = spaced \n"
        "[\xFF\xFE]\n");
    EXPECT_EQ(document.SectionNames(), (std::vector<std::u16string>{u"EN", u"X", u"\uFFFD\uFFFD"}));
    EXPECT_EQ(document.Find(u"", u"KEY"), nullptr);
    EXPECT_EQ(*document.Find(u"EN", u"A"), u"open bracket");
    EXPECT_EQ(document.Find(u"X", u"B"), nullptr);
    EXPECT_EQ(document.Find(u"X", u";C"), nullptr);
    EXPECT_EQ(*document.Find(u"x", u"c"), u"spaced");
    // An odd last byte of a UTF-16 file is dropped.
    EXPECT_EQ(*IniDocument::Parse(EncodeUtf16Le(u"[EN]\nK=v") + "\x41").Find(u"EN", u"K"), u"v");
}

TEST(LanguageIniTest, SettingsAreWrittenAsUtf16WithTheMark) {
    EXPECT_EQ(EncodeUtf16Le(u"[Set]"), std::string("\xFF\xFE[\0S\0e\0t\0]\0", 12));
}

}  // namespace
}  // namespace tolvane
