#include <gtest/gtest.h>

#include "monitor/submission/recipient_list.h"

namespace tolvane {

bool operator==(const FaxRecipient& a, const FaxRecipient& b) { return a.name == b.name && a.number == b.number; }

namespace {

using Recipients = std::vector<FaxRecipient>;

TEST(RecipientList, NameWithAtStaysForTheFollowingEntries) {
    EXPECT_EQ(ParseRecipients("101;Sales@202;303", "."),
              (Recipients{{".", "101"}, {"Sales", "202"}, {"Sales", "303"}}));
    EXPECT_EQ(ParseRecipients("Anna@1;Bob@2;3", "Default"), (Recipients{{"Anna", "1"}, {"Bob", "2"}, {"Bob", "3"}}));
}

TEST(RecipientList, EmptyNamesBecomeDot) {
    EXPECT_EQ(ParseRecipients("101;@202;303", ""), (Recipients{{".", "101"}, {".", "202"}, {".", "303"}}));
    EXPECT_EQ(ParseRecipients("Sales@202;@303", "x"), (Recipients{{"Sales", "202"}, {".", "303"}}));
}

TEST(RecipientList, EntriesWithoutNumberAreSkipped) {
    EXPECT_EQ(ParseRecipients("101;", "."), (Recipients{{".", "101"}}));
    EXPECT_EQ(ParseRecipients(";;101;; ;Sales@;202", "."), (Recipients{{".", "101"}, {"Sales", "202"}}));
    EXPECT_TRUE(ParseRecipients("", ".").empty());
    EXPECT_TRUE(ParseRecipients("Sales@", ".").empty());
}

TEST(RecipientList, OnlyTheFirstAtSplitsNameFromNumber) {
    EXPECT_EQ(ParseRecipients("a@b@5", "."), (Recipients{{"a", "b@5"}}));
}

}  // namespace
}  // namespace tolvane
