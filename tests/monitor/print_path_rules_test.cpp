// The portable rules of the print path: where Korrim.exe is, which jobs come
// from another computer, the fax server address with a port, and which dialog
// a port uses.

#include <gtest/gtest.h>

#include "monitor/print_path/dialog_route.h"
#include "monitor/print_path/job_origin.h"
#include "monitor/print_path/kept_document.h"
#include "monitor/print_path/korrim_path.h"
#include "monitor/submission/server_address.h"

namespace tolvane {
namespace {

TEST(KeptDocumentFileName, AnyDocumentNameGivesAUsableFileName) {
    EXPECT_EQ(KeptDocumentFileName(u"Quarterly report", 12), u"Quarterly report (job 12).ps");
    EXPECT_EQ(KeptDocumentFileName(u"http://x/a?b=\"c\"|d\te", 3, 2), u"http___x_a_b=_c__d_e (job 3) 2.ps");
    EXPECT_EQ(KeptDocumentFileName(u" . ", 1), u"FAX (job 1).ps");
    EXPECT_EQ(KeptDocumentFileName(std::u16string(5000, u'x'), 1), std::u16string(100, u'x') + u" (job 1).ps");
}

TEST(DialogProgramPath, FollowsTheSystemFolderOfEachBuild) {
    EXPECT_EQ(DialogProgramPath(MonitorBitness::k32, u"C:\\WINDOWS\\system32"), u"C:\\WINDOWS\\system32\\Korrim.exe");
    EXPECT_EQ(DialogProgramPath(MonitorBitness::k64, u"C:\\Windows\\SysWOW64"),
              u"C:\\Windows\\SysWOW64\\Tolvane\\Korrim.exe");
    // Installations elsewhere than "\WINDOWS" on the spool file's drive.
    EXPECT_EQ(DialogProgramPath(MonitorBitness::k64, u"D:\\WINNT\\SysWOW64\\"),
              u"D:\\WINNT\\SysWOW64\\Tolvane\\Korrim.exe");
    EXPECT_EQ(DialogProgramPath(MonitorBitness::k32, u"E:\\OS\\System32\\\\"), u"E:\\OS\\System32\\Korrim.exe");
}

TEST(DialogProgramPath, RefusesWhatCannotBeStarted) {
    EXPECT_FALSE(DialogProgramPath(MonitorBitness::k32, u""));
    EXPECT_FALSE(DialogProgramPath(MonitorBitness::k64, u"\\\\"));
    const std::u16string longest(kMaxDialogProgramPath - std::u16string(u"\\Korrim.exe").size(), u'a');
    EXPECT_TRUE(DialogProgramPath(MonitorBitness::k32, longest));
    EXPECT_FALSE(DialogProgramPath(MonitorBitness::k32, longest + u"a"));
}

TEST(JobOrigin, RejectsOnlyAMachineThatWasReadAndDiffers) {
    EXPECT_TRUE(IsFromAnotherComputer(u"\\\\CLIENT7", u"FAXHOST"));
    EXPECT_FALSE(IsFromAnotherComputer(u"\\\\FAXHOST", u"FAXHOST"));
    EXPECT_FALSE(IsFromAnotherComputer(u"\\\\faxHost", u"FAXHOST"));
    EXPECT_FALSE(IsFromAnotherComputer(u"FAXHOST", u"faxhost"));
    // The record could not be read (Wine passes no printer or job): not foreign.
    EXPECT_FALSE(IsFromAnotherComputer(u"", u"FAXHOST"));
    EXPECT_FALSE(IsFromAnotherComputer(u"\\\\", u"FAXHOST"));
    // This computer's name unknown: nothing to compare with.
    EXPECT_FALSE(IsFromAnotherComputer(u"\\\\CLIENT7", u""));
    // A name that merely starts like this one is another machine.
    EXPECT_TRUE(IsFromAnotherComputer(u"\\\\FAXHOST2", u"FAXHOST"));
    EXPECT_TRUE(IsFromAnotherComputer(u"\\\\FAX", u"FAXHOST"));
}

TEST(FaxServerAddress, TakesAPortAfterTheAddress) {
    const FaxServerAddress plain = ParseFaxServerAddress("10.0.0.5", 4559);
    EXPECT_EQ(plain.host, "10.0.0.5");
    EXPECT_EQ(plain.port, 4559);
    const FaxServerAddress withPort = ParseFaxServerAddress("127.0.0.1:40123", 4559);
    EXPECT_EQ(withPort.host, "127.0.0.1");
    EXPECT_EQ(withPort.port, 40123);
}

TEST(FaxServerAddress, LeavesAnythingElseWholeSoTheConnectionFailsVisibly) {
    for (const char* value :
         {"10.0.0.5:", "10.0.0.5:0", "10.0.0.5:65536", "10.0.0.5:45x9", "10.0.0.5:123456", ":4559"}) {
        const FaxServerAddress address = ParseFaxServerAddress(value, 4559);
        EXPECT_EQ(address.host, value);
        EXPECT_EQ(address.port, 4559);
    }
    EXPECT_EQ(ParseFaxServerAddress("10.0.0.5:65535", 4559).port, 65535);
}

TEST(DialogRoute, SixtyFourBitAlwaysAsksThroughKorrim) {
    for (const char16_t* mode : {u"0", u"1", u"2", u"", u"x"})
        EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k64, mode), DialogRoute::kDialogProgram);
}

TEST(DialogRoute, ThirtyTwoBitFollowsSysMode) {
    EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k32, u"1"), DialogRoute::kDialogProgram);
    EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k32, u"2"), DialogRoute::kDialogProgramMonitorConfirms);
    EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k32, u"0"), DialogRoute::kInProcessForm);
    EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k32, u""), DialogRoute::kInProcessForm);
    EXPECT_EQ(ChooseDialogRoute(MonitorBitness::k32, u" 1"), DialogRoute::kInProcessForm);
}

}  // namespace
}  // namespace tolvane
