#include "common/port_settings/port_dialog_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/language/language_ini.h"
#include "common/port_settings/port_dialog_texts.h"

namespace tolvane {
namespace {

TEST(PortDialogRules, OpensWithThePartsSelectionsAndConfirmChecked) {
    const PortSettings settings = PortDialogOpeningSettings();
    const std::vector<std::pair<PortList, int>> expected{
        {PortList::kValidity, 0}, {PortList::kAddressBookType, 0}, {PortList::kResolution, 1},
        {PortList::kPriority, 1}, {PortList::kPageSize, 1},        {PortList::kMaxTries, 1},
        {PortList::kMaxDials, 2}, {PortList::kModem, 0},           {PortList::kSysMode, 1}};
    for (const auto& [list, position] : expected) {
        EXPECT_EQ(settings.Selected(list), position) << static_cast<int>(list);
        // Every opening position is an entry of its list.
        EXPECT_LT(position, static_cast<int>(PortListEntries(list).size()));
    }
    EXPECT_TRUE(settings.confirm);
    EXPECT_TRUE(settings.server.empty());
}

TEST(PortDialogRules, SaveNeedsAPortAndAnExistingOrEmptyFolder) {
    int asked = 0;
    auto exists = [&](std::u16string_view folder) {
        ++asked;
        return folder == u"C:\\book";
    };
    EXPECT_EQ(JudgeSave(u"", u"C:\\missing", exists), SaveVerdict::kNoPort);
    EXPECT_EQ(JudgeSave(u"P", u"C:\\missing", exists), SaveVerdict::kFolderMissing);
    EXPECT_EQ(JudgeSave(u"P", u"C:\\book", exists), SaveVerdict::kSave);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(JudgeSave(u"P", u"", exists), SaveVerdict::kSave);  // an empty field is never looked up
    EXPECT_EQ(asked, 2);
}

TEST(PortDialogRules, NewPortNameLosesItsBlanksAndIsJudgedAgainstThePorts) {
    const std::vector<std::u16string> ports{u"P", u"fax"};
    struct Case {
        std::u16string typed;
        NewPortVerdict verdict;
        std::u16string name;
    };
    const std::vector<Case> cases{
        {u" 2 ", NewPortVerdict::kAdd, u"2"},
        {u"", NewPortVerdict::kEmpty, u""},
        {u"   ", NewPortVerdict::kEmpty, u""},
        {u"p", NewPortVerdict::kExists, u"p"},
        {u"F A X", NewPortVerdict::kExists, u"FAX"},
        {u"\t", NewPortVerdict::kAdd, u"\t"},  // only U+0020 counts as a blank
        {u"a\\b", NewPortVerdict::kRefused, u"a\\b"},
        {u"\\", NewPortVerdict::kRefused, u"\\"},
        {u"1234567", NewPortVerdict::kAdd, u"1234567"},
        {u"12345678", NewPortVerdict::kRefused, u"12345678"},  // the monitor would cut it to 7
    };
    for (const Case& c : cases) {
        const NewPort port = JudgeNewPortName(c.typed, ports);
        EXPECT_EQ(port.verdict, c.verdict) << std::string(c.typed.begin(), c.typed.end());
        EXPECT_EQ(port.name, c.name);
    }
}

TEST(PortDialogRules, AccountLineTakesTwoNamesAndNothingMore) {
    EXPECT_EQ(FormatAccountLine(u"Program runs as %s, session user %s", u"admin", u"clerk"),
              u"Program runs as admin, session user clerk");
    // A stray directive or a third "%s" shows as written instead of reading past the two names.
    EXPECT_EQ(FormatAccountLine(u"%s %d %s %s 100%%", u"a", u"b"), u"a %d b %s 100%");
    const std::u16string longName(600, u'x');
    EXPECT_EQ(FormatAccountLine(u"%s", longName, u"").size(), 511u);
}

// The English defaults are Language.ini's "EN" texts, and every shipped
// language has a text for each of their keys.
TEST(PortDialogTexts, EnglishDefaultsAreLanguageIniTextsAndEveryLanguageHasEveryKey) {
    const char* source = std::getenv("TOLVANE_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream file(std::string(source) + "/setup/resources/language/Language.txt", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const IniDocument document = IniDocument::Parse(bytes.str());
    ASSERT_GE(document.SectionNames().size(), 2u);
    EXPECT_EQ(PortDialogTextKeys().size(), 42u);
    for (const std::u16string& section : document.SectionNames()) {
        LanguageIni language;
        language.SetFile(u"Language.txt", bytes.str());
        language.SetSection(section);
        for (const std::u16string_view key : PortDialogTextKeys()) {
            const std::string name(key.begin(), key.end());
            EXPECT_NE(language.Read(key), kNoValue) << name;
            if (section == u"EN") {
                EXPECT_EQ(language.Read(key), EnglishPortDialogText(key)) << name;
            }
        }
    }
    EXPECT_EQ(EnglishPortDialogText(u"LANGUAGE"), kNoValue);
}

}  // namespace
}  // namespace tolvane
