// The monitor's side of the conversation against the real client flow of
// Korrim.exe (RunFaxDialog with a scripted form) over an in-process channel:
// what the user sees, what comes back, and who shows the confirmation.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/support/in_process_channel.h"
#include "monitor/print_path/conversation_dialog.h"
#include "common/send_fax_form/fax_dialog_flow.h"

namespace tolvane {
namespace {

class ScriptedForm final : public SendFaxFormPort {
public:
    bool send = true;
    FormFields fields;
    FormRequest shown;
    std::vector<std::u16string> confirmations;

    std::u16string Prepare(const FormRequest& request) override {
        shown = request;
        return u"Select from AddressBook";
    }
    bool ShowModal() override { return send; }
    FormFields Fields() override { return fields; }
    void ShowJobConfirm(const std::u16string& text) override { confirmations.push_back(text); }
};

class FixedSubmitter final : public FaxSubmitter {
public:
    SubmissionReport report;
    SubmissionReport Submit(const FaxAnswers&) override { return report; }
};

class KeptDocument final : public CapturedDocument {
public:
    std::u16string Path() const override { return u"C:\\Temp\\FAX77.tmp"; }
    bool Delete() override { return true; }
    std::u16string Keep() override { return Path(); }
};

class ConversationDialogTest : public ::testing::Test {
protected:
    ConversationDialogTest() {
        SetSlotText(config, ConfigSlot::kConfirm, u"1");
        SetSlotText(config, ConfigSlot::kSender, u"Front desk");
        form.fields.faxNumbers = u"101;Sales@202;303";
        form.fields.addressBookText = u"Select from AddressBook";
        form.fields.lineIndex = 2;
        form.fields.sender = u"Front desk";
        form.fields.resolutionIndex = 2;
        form.fields.priorityIndex = 0;
        form.fields.notifyEmail = u"me@example.org";
    }
    ~ConversationDialogTest() override {
        channels.CloseHost();
        if (client.joinable()) client.join();
    }
    void StartClient() {
        client = std::thread([this] {
            ConversationPeer peer(channels.client(), [this](std::u16string_view text, std::u16string_view) {
                clientAlerts.emplace_back(text);
            });
            RunFaxDialog(peer, form);
            channels.CloseClient();
        });
    }
    ConversationPeer HostPeer() {
        return ConversationPeer(
            channels.host(), [this](std::u16string_view text, std::u16string_view) { hostAlerts.emplace_back(text); });
    }

    PortConfigRecord config = MakeDefaultPortConfig();
    InProcessChannelPair channels;
    ScriptedForm form;
    std::thread client;
    std::vector<std::u16string> clientAlerts, hostAlerts;
    std::vector<std::u16string> monitorBoxes;
};

TEST_F(ConversationDialogTest, SendBringsTheAnswersAndKorrimShowsTheConfirmation) {
    StartClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, /*monitorConfirms=*/false);
    FixedSubmitter submitter;
    submitter.report = {u"200 Job 1 submitted.\r\n", true};
    KeptDocument document;
    const EndOfDocumentReport report = RunEndOfDocument(config, u"Quarterly report", true, dialog, submitter, document);
    client.join();
    EXPECT_EQ(report.outcome, DocumentOutcome::kSubmitted);
    EXPECT_EQ(form.shown.documentName, u"Quarterly report");
    EXPECT_EQ(form.shown.sender, u"Front desk");
    EXPECT_TRUE(form.shown.confirmationWanted);
    ASSERT_EQ(form.confirmations.size(), 1u);
    EXPECT_EQ(form.confirmations[0], u"200 Job 1 submitted.\r\n");
    EXPECT_TRUE(clientAlerts.empty());
    EXPECT_TRUE(hostAlerts.empty());
}

TEST_F(ConversationDialogTest, AnswersArriveAsTheUserGaveThem) {
    StartClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, false);
    FaxAnswers answers;
    ASSERT_TRUE(dialog.Ask(RequestsFor(config, u"Doc", true), answers));
    EXPECT_EQ(answers.result, u"1");
    EXPECT_EQ(answers.faxNumbers, u"101;Sales@202;303");
    EXPECT_EQ(answers.recipientName, u".");  // the address-book box was not touched
    EXPECT_EQ(answers.line, u"2");
    EXPECT_EQ(answers.resolution, u"2");
    EXPECT_EQ(answers.priority, u"0");
    EXPECT_EQ(answers.notifyEmail, u"me@example.org");
    EXPECT_TRUE(dialog.ClientWaitsForConfirmation());
    dialog.Confirm(u"done");
    client.join();
    EXPECT_EQ(form.confirmations, std::vector<std::u16string>{u"done"});
}

TEST_F(ConversationDialogTest, MonitorConfirmsItselfAndKorrimDoesNotWait) {
    StartClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, /*monitorConfirms=*/true,
                              [this](std::u16string_view text) { monitorBoxes.emplace_back(text); });
    FixedSubmitter submitter;
    submitter.report = {u"Cannot connect to the fax server.\r\n", false};
    KeptDocument document;
    const EndOfDocumentReport report = RunEndOfDocument(config, u"Doc", false, dialog, submitter, document);
    client.join();
    EXPECT_FALSE(form.shown.confirmationWanted);
    EXPECT_TRUE(form.confirmations.empty());
    EXPECT_EQ(channels.PendingForClient(), 0u);
    ASSERT_EQ(monitorBoxes.size(), 1u);
    EXPECT_NE(monitorBoxes[0].find(u"It was kept as C:\\Temp\\FAX77.tmp."), std::u16string::npos);
    EXPECT_TRUE(report.spoolFileKept);
}

TEST_F(ConversationDialogTest, NoConfirmationIsWrittenToAClientThatDoesNotWait) {
    SetSlotText(config, ConfigSlot::kConfirm, u"0");
    StartClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, false);
    FaxAnswers answers;
    ASSERT_TRUE(dialog.Ask(RequestsFor(config, u"Doc", true), answers));
    EXPECT_FALSE(dialog.ClientWaitsForConfirmation());
    client.join();
    dialog.Confirm(u"nobody reads this");  // must not block on or fail against a closed client
    EXPECT_TRUE(hostAlerts.empty());
    EXPECT_TRUE(form.confirmations.empty());
}

TEST_F(ConversationDialogTest, CancelIsAnAnswer) {
    form.send = false;
    StartClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, false);
    FaxAnswers answers;
    EXPECT_TRUE(dialog.Ask(RequestsFor(config, u"Doc", true), answers));
    EXPECT_EQ(answers.result, u"2");
    EXPECT_TRUE(answers.faxNumbers.empty());
    EXPECT_FALSE(dialog.ClientWaitsForConfirmation());
}

TEST_F(ConversationDialogTest, AClientGoneBeforeAnsweringGivesNoAnswer) {
    channels.CloseClient();
    ConversationPeer peer = HostPeer();
    ConversationDialog dialog(peer, false);
    FaxAnswers answers;
    EXPECT_FALSE(dialog.Ask(RequestsFor(config, u"Doc", true), answers));
    EXPECT_FALSE(hostAlerts.empty());  // the conversation's own failure texts
}

}  // namespace
}  // namespace tolvane
