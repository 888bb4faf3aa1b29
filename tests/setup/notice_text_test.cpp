// The notice of the Port configuration button, formatted from a translator's
// pattern: three user names, written line breaks, and nothing read past the
// three texts whatever the pattern holds.
#include "common/language/notice_text.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(NoticeText, TakesTheThreeUserNamesInOrder) {
    EXPECT_EQ(FormatNotice(u"Session %s, process %s (%s).", {u"anna", u"setup", u"setup"}),
              u"Session anna, process setup (setup).");
    EXPECT_EQ(FormatNotice(u"%ls/%ws/%S", {u"a", u"b", u"c"}), u"a/b/c");
}

TEST(NoticeText, StrayPercentSignsStayAsWrittenAndNothingIsReadPastTheThirdText) {
    // A translation with other directives, a fourth %s or a lone % at the end.
    EXPECT_EQ(FormatNotice(u"100% sure: %d %s %s %s %s %", {u"a", u"b", u"c"}), u"100% sure: %d a b c %s %");
    EXPECT_EQ(FormatNotice(u"%%s is %s", {u"x", u"y", u"z"}), u"%s is x");
    EXPECT_EQ(FormatNotice(u"", {u"a", u"b", u"c"}), u"");
    EXPECT_EQ(FormatNotice(u"%l", {u"a", u"b", u"c"}), u"%l");
}

TEST(NoticeText, WrittenLineBreaksBecomeRealOnes) {
    EXPECT_EQ(ExpandWrittenLineBreaks(u"one\\r\\ntwo\\r\\n"), u"one\r\ntwo\r\n");
    // Only the whole four-character sequence counts.
    EXPECT_EQ(ExpandWrittenLineBreaks(u"a\\rb\\nc\\r\\"), u"a\\rb\\nc\\r\\");
}

}  // namespace
}  // namespace tolvane
