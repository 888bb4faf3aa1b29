#include <gtest/gtest.h>

#include "rasterback/handoff.h"
#include "rasterback/ini_profile.h"
#include "recording_shell.h"

namespace tolvane {
namespace {

using test::RecordingShell;

const char* const kWritten = "c:\\fax out\\doc.tif";
const std::string kFollowUp = "[run]\nenablerun=1\nexefilename=c:\\after.exe\nCmdShow=";

TEST(Handoff, SendPrinterStartsTheFollowUpThenTheSendProgram) {
    RecordingShell shell;
    shell.softPath = "C:\\Program Files\\Ostrel";
    IniProfile ini(kFollowUp + "0\n");
    std::string path = kWritten;
    EXPECT_EQ(RunHandoff("Ostrel Printer", path, ini, shell), 0);
    EXPECT_EQ(shell.log, (std::vector<std::string>{
                             "registry",
                             "open[c:\\after.exe][\"c:\\fax out\\doc.tif\"]0",
                             "open[C:\\Program Files\\Ostrel\\Dunmore.exe][\"c:\\fax out\\doc.tif\"]0",
                         }));
}

TEST(Handoff, MissingSendProgramSettingIsReportedAndStartsNothing) {
    RecordingShell shell;
    IniProfile ini(kFollowUp + "0\n");
    std::string path = kWritten;
    EXPECT_EQ(RunHandoff("Ostrel Printer", path, ini, shell), 1);
    EXPECT_EQ(shell.log, std::vector<std::string>{"registry"});
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "访问注册表Ostrel键值错误！");
    EXPECT_EQ(shell.messages[0].encoding, UserMessage::Encoding::Utf8);
    EXPECT_EQ(shell.messages[0].caption, UserMessage::Caption::SystemDefault);
}

TEST(Handoff, OtherPrintersSaveWhereTheUserChooses) {
    for (const char* printer : {"Quillon Printer", "ostrel printer", "Ostrel Printer ", ""}) {
        RecordingShell shell;
        shell.answer = "C:\\tiff\\kept.tif";
        IniProfile ini(kFollowUp + "1\n");
        std::string path = kWritten;
        EXPECT_EQ(RunHandoff(printer, path, ini, shell), 0);
        EXPECT_EQ(shell.log, (std::vector<std::string>{
                                 "open[c:\\after.exe][\"c:\\fax out\\doc.tif\"]1",
                                 "folder[C:\\tiff\\]",
                                 "dialog[c:\\fax out\\doc.tif][C:\\tiff\\]",
                                 "copy[c:\\fax out\\doc.tif][C:\\tiff\\kept.tif]",
                                 "delete[c:\\fax out\\doc.tif]",
                                 "open[C:\\tiff\\kept.tif][]0",
                             }))
            << printer;
        EXPECT_EQ(path, "C:\\tiff\\kept.tif");
        EXPECT_TRUE(shell.messages.empty());
    }
}

TEST(Handoff, CancelLeavesTheFileWhereItWasWritten) {
    RecordingShell shell;
    IniProfile ini("");
    std::string path = kWritten;
    EXPECT_EQ(RunHandoff("Quillon Printer", path, ini, shell), 0);
    EXPECT_EQ(shell.log, (std::vector<std::string>{"folder[C:\\tiff\\]", "dialog[c:\\fax out\\doc.tif][C:\\tiff\\]"}));
    EXPECT_EQ(path, kWritten);
}

TEST(Handoff, FailedCopyKeepsTheWrittenFileAndTellsTheUser) {
    RecordingShell shell;
    shell.answer = "C:\\tiff\\locked.tif";
    shell.copySucceeds = false;
    IniProfile ini("");
    std::string path = kWritten;
    EXPECT_EQ(RunHandoff("Quillon Printer", path, ini, shell), 0);
    EXPECT_EQ(shell.log.back(), "copy[c:\\fax out\\doc.tif][C:\\tiff\\locked.tif]");
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, CopyFailedText(kWritten, "C:\\tiff\\locked.tif"));
    EXPECT_NE(shell.messages[0].text.find(kWritten), std::string::npos);
    EXPECT_EQ(path, kWritten);
}

TEST(Handoff, ChoosingTheWrittenPathNeitherCopiesNorDeletes) {
    RecordingShell shell;
    shell.answer = kWritten;
    IniProfile ini("");
    std::string path = kWritten;
    EXPECT_EQ(RunHandoff("Quillon Printer", path, ini, shell), 0);
    EXPECT_EQ(shell.log.back(), "open[c:\\fax out\\doc.tif][]0");
    for (const std::string& step : shell.log)
        EXPECT_TRUE(step.rfind("copy", 0) != 0 && step.rfind("delete", 0) != 0) << step;
}

TEST(Handoff, FollowUpProgramFollowsItsSettings) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"[run]\nenablerun=0\nexefilename=x.exe\n", ""},
        {"[run]\nenablerun=1\n", "open[][\"p q.tif\"]0"},  // an empty program name is still requested
        {"[run]\nenablerun=7\nexefilename=x.exe\nCmdShow=3\n", "open[x.exe][\"p q.tif\"]2"},
        {"[run]\nenablerun=1\nexefilename=x.exe\nCmdShow=2\n", "open[x.exe][\"p q.tif\"]2"},
    };
    for (const auto& [settings, expected] : cases) {
        RecordingShell shell;
        IniProfile ini(settings);
        EXPECT_EQ(RunFollowUpProgram("p q.tif", ini, shell), !expected.empty()) << settings;
        EXPECT_EQ(shell.log, expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected})
            << settings;
    }
}

TEST(Handoff, BothProgramsGetThePathAsOneArgumentOrNotAtAll) {
    const std::string path = "C:\\fax out\\50% & more.tif";
    RecordingShell shell;
    shell.softPath = "C:\\Send";
    IniProfile bat("[run]\nenablerun=1\nexefilename=c:\\after.bat\n");
    std::string written = "C:\\fax out\\a & b.tif";
    EXPECT_EQ(RunHandoff("Ostrel Printer", written, bat, shell), 0);
    EXPECT_EQ(shell.log, (std::vector<std::string>{
                             "registry",
                             "open[c:\\after.bat][\"C:\\fax out\\a & b.tif\"]0",
                             "open[C:\\Send\\Dunmore.exe][\"C:\\fax out\\a & b.tif\"]0",
                         }));

    // The interpreter would expand "%": the batch file is not started and the
    // user is told, while the send program still gets the fax.
    shell.log.clear();
    written = path;
    EXPECT_EQ(RunHandoff("Ostrel Printer", written, bat, shell), 0);
    EXPECT_EQ(shell.log, (std::vector<std::string>{
                             "registry",
                             "open[C:\\Send\\Dunmore.exe][\"C:\\fax out\\50% & more.tif\"]0",
                         }));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, PathNotPassedText(path, "c:\\after.bat"));
    EXPECT_EQ(shell.messages[0].caption, UserMessage::Caption::Empty);
}

}  // namespace
}  // namespace tolvane
