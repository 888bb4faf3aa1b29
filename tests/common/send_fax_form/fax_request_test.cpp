// Reading the nine request texts into the form's values.
#include "common/send_fax_form/fax_request.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace tolvane {
namespace {

TEST(ParseInteger, AcceptsOnlyAWholeSignedDecimalInRange) {
    EXPECT_EQ(ParseInteger(u"0"), 0);
    EXPECT_EQ(ParseInteger(u"-1"), -1);
    EXPECT_EQ(ParseInteger(u"+7"), 7);
    EXPECT_EQ(ParseInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger(u"-2147483648"), -2147483647 - 1);
    for (const char16_t* bad :
         {u"", u" ", u"-", u"1 ", u" 1", u"1a", u"x", u"2147483648", u"99999999999999999999", u"\uff11"}) {
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << NarrowForLog(bad);
    }
}

FaxRequests Requests(std::u16string type, std::u16string line, std::u16string resolution, std::u16string priority,
                     std::u16string confirmation) {
    FaxRequests requests;
    requests.addressBookType = std::move(type);
    requests.addressBookFolder = u" ";
    requests.documentName = u"Doc";
    requests.line = std::move(line);
    requests.sender = u"Ann";
    requests.resolution = std::move(resolution);
    requests.priority = std::move(priority);
    requests.notifyEmail = u"a@b";
    requests.confirmation = std::move(confirmation);
    return requests;
}

TEST(ReadFormRequest, TextsThatAreNoNumbersGiveTheDefaults) {
    const FormRequest form = ReadFormRequest(Requests(u" ", u"FAX1", u"fine", u" ", u" "));
    EXPECT_EQ(form.addressBookType, 1);
    EXPECT_EQ(form.lineIndex, 0);
    EXPECT_EQ(form.resolutionIndex, 1);
    EXPECT_EQ(form.priorityIndex, 1);
    EXPECT_FALSE(form.confirmationWanted);
    EXPECT_EQ(form.addressBookFolder, u" ");  // the space of an empty text is kept
}

TEST(ReadFormRequest, NumbersAreTakenAsTheyAreEvenOutsideTheLists) {
    const FormRequest form = ReadFormRequest(Requests(u"0", u"9", u"-1", u"3", u"1"));
    EXPECT_EQ(form.addressBookType, 0);
    EXPECT_EQ(form.lineIndex, 9);
    EXPECT_EQ(form.resolutionIndex, -1);
    EXPECT_EQ(form.priorityIndex, 3);
    EXPECT_TRUE(form.confirmationWanted);
    EXPECT_EQ(form.documentName, u"Doc");
    EXPECT_EQ(form.sender, u"Ann");
    EXPECT_EQ(form.notifyEmail, u"a@b");
}

TEST(ReadFormRequest, ConfirmationOnlyForExactlyOne) {
    for (const char16_t* notExactly : {u" 1", u"01", u"1 ", u"", u"11", u"true"}) {
        EXPECT_FALSE(ReadFormRequest(Requests(u"1", u"0", u"1", u"1", notExactly)).confirmationWanted);
    }
}

}  // namespace
}  // namespace tolvane
