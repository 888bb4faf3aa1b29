#include <gtest/gtest.h>

#include "monitor/submission/submission_answers.h"
#include "monitor/submission/submission_settings.h"

namespace tolvane {
namespace {

// Stands in for the code page conversion: ASCII passes, anything else is marked.
std::string TestAnsi(std::u16string_view text) {
    std::string ansi;
    for (char16_t unit : text) ansi += unit < 0x80 ? static_cast<char>(unit) : '#';
    return ansi;
}

TEST(SubmissionInput, SettingsComeFromTheirOwnSlots) {
    PortConfigRecord record = MakeDefaultPortConfig();
    const std::pair<ConfigSlot, std::u16string> values[] = {
        {ConfigSlot::kServer, u"10.1.2.3"},      {ConfigSlot::kUsername, u"anna"}, {ConfigSlot::kPassword, u"pw\u00e4"},
        {ConfigSlot::kAdvertising, u"Ad"},       {ConfigSlot::kPageSize, u"1"},    {ConfigSlot::kMaxDials, u"7"},
        {ConfigSlot::kMaxTries, u"4"},           {ConfigSlot::kValidity, u"3"},    {ConfigSlot::kIgnorePassiveIp, u"1"},
        {ConfigSlot::kSender, u"not a setting"},
    };
    for (const auto& [slot, text] : values) SetSlotText(record, slot, text);

    const SubmissionSettings settings = SubmissionSettingsFrom(record, TestAnsi);
    EXPECT_EQ(settings.server, "10.1.2.3");
    EXPECT_EQ(settings.username, "anna");
    EXPECT_EQ(settings.password, "pw#");
    EXPECT_EQ(settings.advertising, "Ad");
    EXPECT_EQ(settings.pageSize, "1");
    EXPECT_EQ(settings.maxDials, "7");
    EXPECT_EQ(settings.maxTries, "4");
    EXPECT_EQ(settings.validity, "3");
    EXPECT_EQ(settings.ignorePassiveIp, "1");
}

TEST(SubmissionInput, AnswersBToHInTheirFields) {
    FaxAnswers answers;
    answers.result = u"1";
    answers.faxNumbers = u"101;Sales@202";
    answers.recipientName = u".";
    answers.line = u"-1";
    answers.sender = u"Me";
    answers.resolution = u"2";
    answers.priority = u"3";
    answers.notifyEmail = u"a@b.c";

    const SubmissionAnswers converted = SubmissionAnswersFrom(answers, TestAnsi);
    EXPECT_EQ(converted.recipients, "101;Sales@202");
    EXPECT_EQ(converted.recipientName, ".");
    EXPECT_EQ(converted.line, "-1");
    EXPECT_EQ(converted.sender, "Me");
    EXPECT_EQ(converted.resolution, "2");
    EXPECT_EQ(converted.priority, "3");
    EXPECT_EQ(converted.notificationEmail, "a@b.c");
}

}  // namespace
}  // namespace tolvane
