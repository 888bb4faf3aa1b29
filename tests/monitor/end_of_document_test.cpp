// The end of a document: the requests sent to the dialog, the spool file's
// fate after each outcome, and the confirmation that names a kept file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/print_path/end_of_document.h"

namespace tolvane {
namespace {

class FakeDialog final : public RecipientDialog {
public:
    bool answers = true;
    FaxAnswers reply;
    FaxRequests asked;
    std::vector<std::u16string> confirmations;

    bool Ask(const FaxRequests& requests, FaxAnswers& out) override {
        asked = requests;
        out = reply;
        return answers;
    }
    void Confirm(std::u16string_view text) override { confirmations.emplace_back(text); }
    bool Notify(std::u16string_view text) override {
        notices.emplace_back(text);
        return notifiable;
    }
    std::vector<std::u16string> notices;
    bool notifiable = true;
};

class FakeSubmitter final : public FaxSubmitter {
public:
    SubmissionReport report;
    int calls = 0;
    FaxAnswers seen;
    SubmissionReport Submit(const FaxAnswers& answers) override {
        ++calls;
        seen = answers;
        return report;
    }
};

class FakeDocument final : public CapturedDocument {
public:
    bool deletable = true;
    int deletes = 0;
    std::u16string Path() const override { return u"C:\\Temp\\FAX1A2.tmp"; }
    bool Delete() override {
        ++deletes;
        return deletable;
    }
    std::u16string Keep() override {
        ++keeps;
        return u"C:\\Users\\ann\\Unsent faxes\\Report (job 7).ps";
    }
    int keeps = 0;
};

FaxAnswers Send(std::u16string numbers) {
    FaxAnswers answers;
    answers.result = u"1";
    answers.faxNumbers = std::move(numbers);
    answers.recipientName = u".";
    return answers;
}

class EndOfDocumentTest : public ::testing::Test {
protected:
    EndOfDocumentReport Run(bool dialogConfirms = true, CaptureState capture = {}) {
        return RunEndOfDocument(config, u"Report", dialogConfirms, dialog, submitter, document, capture);
    }
    PortConfigRecord config = MakeDefaultPortConfig();
    FakeDialog dialog;
    FakeSubmitter submitter;
    FakeDocument document;
};

TEST_F(EndOfDocumentTest, RequestsComeFromThePortSettingsInOrder) {
    SetSlotText(config, ConfigSlot::kAddressBookType, u"1");
    SetSlotText(config, ConfigSlot::kAddressBookPath, u"D:\\Book");
    SetSlotText(config, ConfigSlot::kModem, u"5");
    SetSlotText(config, ConfigSlot::kSender, u"Front desk");
    SetSlotText(config, ConfigSlot::kResolution, u"2");
    SetSlotText(config, ConfigSlot::kPriority, u"3");
    SetSlotText(config, ConfigSlot::kDefaultEmail, u"a@b.c");
    SetSlotText(config, ConfigSlot::kConfirm, u"1");
    const FaxRequests requests = RequestsFor(config, u"Report", true);
    const std::vector<std::u16string> expected = {u"1", u"D:\\Book", u"Report", u"5", u"Front desk",
                                                  u"2", u"3",        u"a@b.c",  u"1"};
    std::vector<std::u16string> got;
    for (const std::u16string* request : requests.InOrder()) got.push_back(*request);
    EXPECT_EQ(got, expected);
    // The monitor shows the confirmation itself: Korrim.exe must not wait for one.
    EXPECT_EQ(RequestsFor(config, u"Report", false).confirmation, u"0");
}

TEST_F(EndOfDocumentTest, DocumentNameDefaultsToFax) {
    EXPECT_EQ(DocumentNameFor(1, u"Invoice 7"), u"Invoice 7");
    EXPECT_EQ(DocumentNameFor(3, u"Invoice 7"), u"Invoice 7");
    EXPECT_EQ(DocumentNameFor(4, u"Invoice 7"), u"FAX");
    EXPECT_EQ(DocumentNameFor(0, u"Invoice 7"), u"FAX");
    EXPECT_EQ(DocumentNameFor(1, nullptr), u"FAX");
    EXPECT_EQ(DocumentNameFor(1, u""), u"FAX");
    const std::u16string longName(3000, u'n');
    EXPECT_EQ(DocumentNameFor(2, longName.c_str()).size(), 1024u);
}

TEST_F(EndOfDocumentTest, EveryJobSubmittedDeletesTheSpoolFileAndConfirms) {
    dialog.reply = Send(u"101;Sales@202;303");
    submitter.report = {u"200 Job 1 submitted.\r\n", true};
    const EndOfDocumentReport report = Run();
    EXPECT_EQ(report.outcome, DocumentOutcome::kSubmitted);
    EXPECT_FALSE(report.spoolFileKept);
    EXPECT_EQ(document.deletes, 1);
    EXPECT_EQ(submitter.seen.faxNumbers, u"101;Sales@202;303");
    ASSERT_EQ(dialog.confirmations.size(), 1u);
    EXPECT_EQ(dialog.confirmations[0], u"200 Job 1 submitted.\r\n");
}

TEST_F(EndOfDocumentTest, AFailureKeepsTheSpoolFileAndNamesIt) {
    dialog.reply = Send(u"101;202");
    submitter.report = {u"200 Job 1 submitted.\r\nJob for 202 failed: the fax server answered \"460 ...\".\r\n", false};
    const EndOfDocumentReport report = Run();
    EXPECT_EQ(report.outcome, DocumentOutcome::kNotAllSent);
    EXPECT_TRUE(report.spoolFileKept);
    EXPECT_EQ(document.deletes, 0);
    ASSERT_EQ(dialog.confirmations.size(), 1u);
    EXPECT_NE(dialog.confirmations[0].find(u"460"), std::u16string::npos);
    EXPECT_NE(dialog.confirmations[0].find(u"It was kept as C:\\Users\\ann\\Unsent faxes\\Report (job 7).ps."),
              std::u16string::npos);
    EXPECT_EQ(report.jobStatus,
              u"Fax not sent to every recipient. Kept as C:\\Users\\ann\\Unsent faxes\\Report (job 7).ps");
    EXPECT_TRUE(dialog.notices.empty()) << "the confirmation told the user already";
}

TEST_F(EndOfDocumentTest, CancelDeletesTheSpoolFileAndSubmitsNothing) {
    dialog.reply.result = u"2";
    const EndOfDocumentReport report = Run();
    EXPECT_EQ(report.outcome, DocumentOutcome::kCancelled);
    EXPECT_EQ(submitter.calls, 0);
    EXPECT_EQ(document.deletes, 1);
    EXPECT_TRUE(dialog.confirmations.empty());
}

TEST_F(EndOfDocumentTest, NoAnswerKeepsTheDocumentForItsUserAndTellsThem) {
    dialog.answers = false;
    const EndOfDocumentReport report = Run();
    EXPECT_EQ(report.outcome, DocumentOutcome::kNoAnswer);
    EXPECT_TRUE(report.spoolFileKept);
    EXPECT_EQ(submitter.calls, 0);
    EXPECT_EQ(document.deletes, 0);
    EXPECT_EQ(document.keeps, 1);
    EXPECT_TRUE(dialog.confirmations.empty());
    ASSERT_EQ(dialog.notices.size(), 1u);
    EXPECT_NE(dialog.notices[0].find(u"\"Report\" was not sent"), std::u16string::npos);
    EXPECT_NE(dialog.notices[0].find(u"kept as C:\\Users\\ann\\Unsent faxes\\Report (job 7).ps."),
              std::u16string::npos);
    EXPECT_TRUE(report.userTold);
    EXPECT_FALSE(report.jobStatus.empty()) << "never marked sent";
}

TEST_F(EndOfDocumentTest, AFailureWithoutConfirmationIsStillTold) {
    SetSlotText(config, ConfigSlot::kConfirm, u"0");
    dialog.reply = Send(u"101");
    submitter.report = {u"Cannot connect to the fax server 10.0.0.1 port 4559.\r\n", false};
    dialog.notifiable = false;
    const EndOfDocumentReport report = Run();
    EXPECT_TRUE(dialog.confirmations.empty());
    ASSERT_EQ(dialog.notices.size(), 1u);
    EXPECT_NE(dialog.notices[0].find(u"Cannot connect"), std::u16string::npos);
    EXPECT_NE(dialog.notices[0].find(u"Report (job 7).ps"), std::u16string::npos);
    EXPECT_FALSE(report.userTold);
    EXPECT_FALSE(report.jobStatus.empty());
}

TEST_F(EndOfDocumentTest, AnIncompleteCaptureIsNeverOfferedAndItsFileGoes) {
    for (const CaptureState capture : {CaptureState{true, false}, CaptureState{false, true}}) {
        dialog = FakeDialog();
        const EndOfDocumentReport report = Run(true, capture);
        EXPECT_EQ(report.outcome, DocumentOutcome::kNotCaptured);
        EXPECT_EQ(dialog.asked.documentName, u"") << "the form was not shown";
        EXPECT_EQ(submitter.calls, 0);
        EXPECT_FALSE(report.spoolFileKept);
        EXPECT_EQ(report.jobStatus.empty(), capture.cancelledInQueue);
        EXPECT_EQ(dialog.notices.size(), capture.writeFailed ? 1u : 0u) << "a cancel is the user's own doing";
    }
    EXPECT_EQ(document.deletes, 2);
}

TEST_F(EndOfDocumentTest, AFileThatCannotBeDeletedCountsAsKept) {
    dialog.reply = Send(u"101");
    submitter.report = {u"200 Job 1 submitted.\r\n", true};
    document.deletable = false;
    EXPECT_TRUE(Run().spoolFileKept);
}

TEST_F(EndOfDocumentTest, ConfirmationOnlyWhenThePortAsksForIt) {
    SetSlotText(config, ConfigSlot::kConfirm, u"0");
    dialog.reply = Send(u"101");
    submitter.report = {u"cannot connect", false};
    const EndOfDocumentReport report = Run();
    EXPECT_TRUE(dialog.confirmations.empty());
    EXPECT_TRUE(report.spoolFileKept);
    SetSlotText(config, ConfigSlot::kConfirm, u"01");
    submitter.report = {u"200 Job 1 submitted.\r\n", true};
    Run();
    EXPECT_TRUE(dialog.confirmations.empty());
    EXPECT_EQ(dialog.notices.size(), 1u) << "only the failure was told";
}

TEST(ConfirmationText, FitsOnePipeMessageAndNeverCutsThePath) {
    const std::u16string path = u"C:\\Temp\\FAX1A2.tmp";
    const std::u16string huge(20000, u'x');
    const std::u16string text = ConfirmationText(huge, path);
    EXPECT_EQ(text.size(), kMaxMessageUnits);
    EXPECT_NE(text.find(u"...\r\nThe document was not sent"), std::u16string::npos);
    EXPECT_EQ(text.substr(text.size() - path.size() - 3), path + u".\r\n");
    // A summary that fits is left whole.
    EXPECT_EQ(ConfirmationText(u"200 Job 1 submitted.\r\n", u""), u"200 Job 1 submitted.\r\n");
    const std::u16string exact(kMaxMessageUnits, u'y');
    EXPECT_EQ(ConfirmationText(exact, u""), exact);
}

}  // namespace
}  // namespace tolvane
