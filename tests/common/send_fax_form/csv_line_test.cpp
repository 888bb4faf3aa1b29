// One line of "numbers.csv": the quoted format, the lines older versions wrote,
// and the field limits.
#include "common/send_fax_form/csv_line.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

void ExpectEntry(std::string_view line, const std::string& name, const std::string& number) {
    const CsvEntry entry = SplitCsvLine(line);
    EXPECT_EQ(entry.name, name) << line;
    EXPECT_EQ(entry.number, number) << line;
}

TEST(SplitCsvLine, ReadsTheWrittenFormat) {
    ExpectEntry(R"("Alice","555-1234")", "Alice", "555-1234");
    ExpectEntry(R"("","")", "", "");
    ExpectEntry("", "", "");  // a blank line is an entry with nothing in it
}

// Lines without quotes or commas inside their fields, as earlier versions
// wrote and read them: the reading must not change.
TEST(SplitCsvLine, LinesOfEarlierVersionsLoadAsBefore) {
    ExpectEntry("Alice,555", "Alice", "555");  // no quotes at all
    ExpectEntry(R"("Alice",555)", "Alice", "555");
    ExpectEntry("Alice", "Alice", "");  // no comma
    ExpectEntry(R"("Alice")", "Alice", "");
    ExpectEntry("Alice,555,666", "Alice", "555,666");  // later commas stay in the number
    ExpectEntry(R"("Alice","555",x)", "Alice", "555,x");
    ExpectEntry(R"(Al"ic"e,5"55)", "Alice", "555");    // stray quotes vanish
    ExpectEntry(R"("Bob "B"","1")", "Bob B", "1");     // an inner quote written undoubled
    ExpectEntry(" Alice , 555 ", " Alice ", " 555 ");  // blanks are kept
}

TEST(CsvLine, ANameWithACommaOrQuotesSurvivesARoundTrip) {
    const std::string line = FormatCsvLine("Smith, John", "555");
    EXPECT_EQ(line, R"("Smith, John","555")");
    ExpectEntry(line, "Smith, John", "555");

    const std::string quoted = FormatCsvLine(R"(Say "hi", Bob)", R"(1,"2")");
    EXPECT_EQ(quoted, R"("Say ""hi"", Bob","1,""2""")");
    ExpectEntry(quoted, R"(Say "hi", Bob)", R"(1,"2")");
    EXPECT_EQ(FormatCsvLine("", ""), R"("","")");
}

TEST(CsvLine, FieldsAreCutTo127CharactersNeverOverrun) {
    const std::string longName(300, 'n'), longNumber(5000, '5');
    ExpectEntry("\"" + longName + "\",\"" + longNumber + "\"", std::string(127, 'n'), std::string(127, '5'));
    ExpectEntry(longName + "," + longNumber, std::string(127, 'n'), std::string(127, '5'));
    const std::string written = FormatCsvLine(longName, longNumber);
    EXPECT_EQ(written.size(), 2u * (127 + 2) + 1);
    ExpectEntry(written, std::string(127, 'n'), std::string(127, '5'));
    // A field of quotes only: each doubled quote counts once towards the limit.
    ExpectEntry(FormatCsvLine(std::string(200, '"'), "1"), std::string(127, '"'), "1");
}

}  // namespace
}  // namespace tolvane
