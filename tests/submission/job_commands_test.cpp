#include <gtest/gtest.h>

#include "monitor/submission/job_commands.h"
#include "monitor/submission/protocol_text.h"
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
                                  "JPARM TOUSER \"Sales\"\n",
                                  "JPARM FROMUSER \"Office\"\n",
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
    EXPECT_EQ(lines[4], "JPARM TOUSER \"EvilJSUBM\"\n");
    EXPECT_EQ(lines[7],
              "JPARM TAGLINE \". To: EvilJSUBM  From: MeJPARM DIALSTRING 1 %%l  Time: %Y.%m.%d %H:%M  "
              "P%%p/%%t  Ad\\\"vert\\\\\"\n");
    EXPECT_EQ(lines[10], "JPARM MAXDIALS 3\n");
}

TEST(ProtocolText, RemovesLineBreaksAndEscapesQuotedText) {
    EXPECT_EQ(ProtocolValue(std::string("a\rb\nc\0d", 7)), "abcd");
    EXPECT_EQ(ProtocolValue("Müller \"x\" \\"), "Müller \"x\" \\");
    EXPECT_EQ(QuotedProtocolValue("say \"hi\" \\ %d\n"), "say \\\"hi\\\" \\\\ %d");
    EXPECT_EQ(QuotedArgument("a  \"b"), "\"a  \\\"b\"");
    EXPECT_EQ(TaglineText("100% \"x\"%%"), "100%% \\\"x\\\"%%%%");
}

}  // namespace
}  // namespace tolvane
