#include <gtest/gtest.h>

#include "monitor/job_commands.h"
#include "monitor/protocol_text.h"
#include "submission_test_support.h"

namespace tolvane {
namespace {

std::vector<std::string> Lines(const JobCommandInput& input) {
    std::vector<std::string> lines;
    for (const JobCommand& command : BuildJobCommands(input)) lines.push_back(command.line);
    return lines;
}

JobCommandInput Input() {
    const SubmissionRequest request = testing::DefaultRequest(4559);
    return {request.settings, request.answers, {"Sales", "202"}, "/tmp/doc1.ps", request.jobInfoTime};
}

TEST(JobCommands, EveryLineInItsOrder) {
    EXPECT_EQ(Lines(Input()), (std::vector<std::string>{
                                  "JOB DEFAULT\n",
                                  "JNEW\n",
                                  "JPARM LASTTIME 000259\n",
                                  "JPARM DIALSTRING 202\n",
                                  "JPARM TOUSER Sales\n",
                                  "JPARM FROMUSER Office\n",
                                  "JPARM USETAGLINE YES\n",
                                  "JPARM TAGLINE \". To: Sales  From: Office %%l  Time: %Y.%m.%d %H:%M  P%%p/%%t  "
                                  "Sent by Tolvane\"\n",
                                  "JPARM JOBINFO \"faxuser\\0112026-12-08 01:02:03\"\n",
                                  "JPARM SCHEDPRI 100\n",
                                  "JPARM MAXDIALS 12\n",
                                  "JPARM MAXTRIES 3\n",
                                  "JPARM LASTTIME 000259\n",
                                  "JPARM VRES 196\n",
                                  "JPARM NOTIFYADDR office@example.org\n",
                                  "JPARM NOTIFY done\n",
                                  "JPARM MODEM any\n",
                                  "JPARM DOCUMENT /tmp/doc1.ps\n",
                                  "JSUBM\n",
                              }));
}

TEST(JobCommands, ResolutionTwoAndPageSizeOneAddTheirLinesInPlace) {
    JobCommandInput input = Input();
    input.answers.resolution = "2";
    input.settings.pageSize = "1";
    const std::vector<std::string> lines = Lines(input);
    const std::vector<std::string> middle(lines.begin() + 12, lines.begin() + 18);
    EXPECT_EQ(middle, (std::vector<std::string>{"JPARM LASTTIME 000259\n", "JPARM USEXVRES YES\n", "JPARM VRES 391\n",
                                                "JPARM PAGEWIDTH 209\n", "JPARM PAGELENGTH 296\n",
                                                "JPARM NOTIFYADDR office@example.org\n"}));
}

TEST(JobCommands, ChoicesByAnswer) {
    EXPECT_EQ(SchedulePriorityLine("0"), "JPARM SCHEDPRI 150\n");
    EXPECT_EQ(SchedulePriorityLine("1"), "JPARM SCHEDPRI 100\n");
    EXPECT_EQ(SchedulePriorityLine("2"), "JPARM SCHEDPRI 50\n");
    EXPECT_EQ(SchedulePriorityLine("3"), "JPARM SCHEDPRI 30\n");
    EXPECT_EQ(SchedulePriorityLine("7"), "JPARM SCHEDPRI 100\n");
    EXPECT_EQ(SchedulePriorityLine(""), "JPARM SCHEDPRI 100\n");

    const char* lastTimes[] = {"000259", "000559", "001159", "002359", "012359"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(LastTimeLine(std::to_string(i)), std::string("JPARM LASTTIME ") + lastTimes[i] + "\n");
    EXPECT_EQ(LastTimeLine("5"), "JPARM LASTTIME 000259\n");

    EXPECT_EQ(ResolutionLines("0"), std::vector<std::string>{"JPARM VRES 98\n"});
    EXPECT_EQ(ResolutionLines("1"), std::vector<std::string>{"JPARM VRES 196\n"});
    EXPECT_EQ(ResolutionLines("2"), (std::vector<std::string>{"JPARM USEXVRES YES\n", "JPARM VRES 391\n"}));
    EXPECT_EQ(ResolutionLines("-1"), std::vector<std::string>{"JPARM VRES 196\n"});

    const char* modems[] = {"any", "ttyS4", "ttyS5", "ttyS6", "ttyS7", "ttyX0", "ttyX1", "ttyX2", "ttyX3"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ModemLine(std::to_string(i)), std::string("JPARM MODEM ") + modems[i] + "\n");
    EXPECT_EQ(ModemLine("-1"), "JPARM MODEM any\n");  // never "Any": no such modem on the server
    EXPECT_EQ(ModemLine("9"), "JPARM MODEM any\n");
}

TEST(JobCommands, NoValueCanEndACommandEarly) {
    JobCommandInput input = Input();
    input.recipient = {"Evil\nJSUBM", "55\r\n5"};
    input.answers.sender = "Me\r\nJPARM DIALSTRING 1";
    input.answers.notificationEmail = "a@b.c\nJSUBM";
    input.settings.advertising = "Ad\"vert\\\n";
    input.settings.maxDials = "3\n";
    input.documentName = "/tmp/doc1.ps\r\nJSUBM";
    const std::vector<std::string> lines = Lines(input);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 1) << line;
    }
    EXPECT_EQ(lines[3], "JPARM DIALSTRING 555\n");
    EXPECT_EQ(lines[4], "JPARM TOUSER EvilJSUBM\n");
    EXPECT_EQ(lines[7], "JPARM TAGLINE \". To: EvilJSUBM  From: MeJPARM DIALSTRING 1 %%l  Time: %Y.%m.%d %H:%M  "
                        "P%%p/%%t  Ad\\\"vert\\\\\"\n");
    EXPECT_EQ(lines[10], "JPARM MAXDIALS 3\n");
}

TEST(ProtocolText, RemovesLineBreaksAndEscapesQuotedText) {
    EXPECT_EQ(ProtocolValue(std::string("a\rb\nc\0d", 7)), "abcd");
    EXPECT_EQ(ProtocolValue("Müller \"x\" \\"), "Müller \"x\" \\");
    EXPECT_EQ(QuotedProtocolValue("say \"hi\" \\ %d\n"), "say \\\"hi\\\" \\\\ %d");
}

}  // namespace
}  // namespace tolvane
