#include "setup/setup_log_format.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

constexpr LogTime kMorning{2013, 3, 3, 9, 5, 0};

TEST(SetupLogFormatTest, FieldsArePaddedWithBlanks) {
    EXPECT_EQ(FormatLogEntry(kMorning, 1, u"Program Start Running..."),
              u"2013/ 3/ 3\t 9: 5: 0\t 1\tProgram Start Running...\r\n");
    EXPECT_EQ(FormatLogEntry({2024, 12, 31, 23, 59, 58}, 0, u"Add Tolvane Port Failed!"),
              u"2024/12/31\t23:59:58\t 0\tAdd Tolvane Port Failed!\r\n");
}

TEST(SetupLogFormatTest, ASystemMessageKeepsItsOwnLineBreakAndNoMore) {
    EXPECT_EQ(FormatLogEntry(kMorning, -1, u"Access is denied.\r\n"),
              u"2013/ 3/ 3\t 9: 5: 0\t-1\tAccess is denied.\r\n");
    // A message without its line break (the system had no text) still ends the line.
    EXPECT_EQ(FormatLogEntry(kMorning, -1, u""), u"2013/ 3/ 3\t 9: 5: 0\t-1\t\r\n");
}

TEST(SetupLogFormatTest, ALongEntryIsCutTo1023CharactersAndStillEndsItsLine) {
    const std::u16string prefix = u"2013/ 3/ 3\t 9: 5: 0\t 1\t";
    const std::u16string fits(1023 - prefix.size() - 2, u'x');
    EXPECT_EQ(FormatLogEntry(kMorning, 1, fits), prefix + fits + u"\r\n");

    const std::u16string entry = FormatLogEntry(kMorning, 1, fits + u"yz");
    EXPECT_EQ(entry.size(), kLogEntryMaxChars);
    EXPECT_EQ(entry, prefix + fits + u"\r\n");

    const std::u16string cutMessage = FormatLogEntry(kMorning, -1, std::u16string(2000, u'e') + u"\r\n");
    EXPECT_EQ(cutMessage.size(), kLogEntryMaxChars);
    EXPECT_EQ(cutMessage.substr(cutMessage.size() - 3), u"e\r\n");

    // A surrogate pair across the cut goes whole.
    const std::u16string pair = u"\xD83D\xDCE0";
    const std::u16string split = FormatLogEntry(kMorning, 1, fits.substr(1) + pair + u"tail");
    EXPECT_EQ(split, prefix + fits.substr(1) + u"\r\n");
}

TEST(SetupLogFormatTest, EntriesAreWrittenAsUtf16LittleEndian) {
    EXPECT_EQ(kUtf16LeMark, std::string("\xFF\xFE", 2));
    EXPECT_EQ(LogEntryBytes(u"A\u00E9\r\n"), std::string("A\0\xE9\0\r\0\n\0", 8));
}

}  // namespace
}  // namespace tolvane
