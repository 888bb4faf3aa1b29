// The client's whole run against a host played by the test over an in-process
// channel, with a scripted form.
#include "common/send_fax_form/fax_dialog_flow.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/support/in_process_channel.h"

namespace tolvane {
namespace {

using Alerts = std::vector<std::pair<std::u16string, std::u16string>>;

// Plays the user: the form closes as scripted, with the fields as given.
class ScriptedForm : public SendFaxFormPort {
public:
    bool sendPressed = true;
    FormFields fieldsAtClose;
    std::u16string boxTextAtStart = u"Select from AddressBook";

    std::vector<FormRequest> prepared;
    int shown = 0;
    std::vector<std::u16string> confirmations;

    std::u16string Prepare(const FormRequest& request) override {
        prepared.push_back(request);
        return boxTextAtStart;
    }
    bool ShowModal() override {
        ++shown;
        return sendPressed;
    }
    FormFields Fields() override { return fieldsAtClose; }
    void ShowJobConfirm(const std::u16string& text) override { confirmations.push_back(text); }
};

struct Conversation {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer host{pair.host(), nullptr};
    ConversationPeer client{pair.client(), [this](std::u16string_view text, std::u16string_view caption) {
                                alerts.emplace_back(text, caption);
                            }};

    void SendRequests(std::vector<std::u16string> texts) {
        for (const auto& text : texts) ASSERT_TRUE(host.Write(text));
    }
    std::vector<std::u16string> AnswersWritten() {
        std::vector<std::u16string> answers;
        while (pair.PendingForHost() > 0) {
            std::u16string text;
            host.Read(text);
            answers.push_back(text);
        }
        return answers;
    }
};

const std::vector<std::u16string> kRequests = {u"1", u"C:\\Book", u"Report.ps", u"2", u"", u"0", u"3", u"a@b.c", u"1"};

FormFields TypicalFields() {
    FormFields fields;
    fields.faxNumbers = u"Bob@555;666";
    fields.addressBookText = u"Select from AddressBook";
    fields.lineIndex = 2;
    fields.sender = u" ";
    fields.resolutionIndex = 0;
    fields.priorityIndex = 3;
    fields.notifyEmail = u"a@b.c";
    return fields;
}

TEST(RunFaxDialog, SendWritesAllAnswersThenShowsTheConfirmation) {
    Conversation conversation;
    conversation.SendRequests(kRequests);
    ASSERT_TRUE(conversation.host.Write(u"Job 12 queued"));
    ScriptedForm form;
    form.fieldsAtClose = TypicalFields();

    RunFaxDialog(conversation.client, form);

    ASSERT_EQ(form.prepared.size(), 1u);
    const FormRequest& request = form.prepared[0];
    EXPECT_EQ(request.addressBookType, 1);
    EXPECT_EQ(request.addressBookFolder, u"C:\\Book");
    EXPECT_EQ(request.documentName, u"Report.ps");
    EXPECT_EQ(request.sender, u" ");  // the empty sender arrived as one space
    EXPECT_EQ(form.shown, 1);
    EXPECT_EQ(conversation.AnswersWritten(),
              (std::vector<std::u16string>{u"1", u"Bob@555;666", u".", u"2", u" ", u"0", u"3", u"a@b.c"}));
    EXPECT_EQ(form.confirmations, (std::vector<std::u16string>{u"Job 12 queued"}));
    EXPECT_TRUE(conversation.alerts.empty());
}

TEST(RunFaxDialog, CancelWritesOnlyTheResultAndReadsNoConfirmation) {
    Conversation conversation;
    conversation.SendRequests(kRequests);
    ASSERT_TRUE(conversation.host.Write(u"never read"));
    ScriptedForm form;
    form.sendPressed = false;
    form.fieldsAtClose = TypicalFields();

    RunFaxDialog(conversation.client, form);

    EXPECT_EQ(conversation.AnswersWritten(), (std::vector<std::u16string>{u"2"}));
    EXPECT_EQ(conversation.pair.PendingForClient(), 1u);
    EXPECT_TRUE(form.confirmations.empty());
}

TEST(RunFaxDialog, NoConfirmationIsAwaitedUnlessRequestNineIsExactlyOne) {
    Conversation conversation;
    auto requests = kRequests;
    requests[8] = u" 1";
    conversation.SendRequests(requests);
    ScriptedForm form;
    form.fieldsAtClose = TypicalFields();
    RunFaxDialog(conversation.client, form);
    EXPECT_EQ(conversation.AnswersWritten().size(), 8u);
    EXPECT_TRUE(form.confirmations.empty());
    EXPECT_TRUE(conversation.alerts.empty());
}

TEST(RunFaxDialog, AHostGoneBeforeTheRequestsEndsTheRunWithOneMessageAndNoForm) {
    Conversation conversation;
    conversation.SendRequests({u"1", u"C:\\Book", u"Doc"});
    conversation.pair.CloseHost();
    ScriptedForm form;
    RunFaxDialog(conversation.client, form);
    EXPECT_EQ(form.shown, 0);
    EXPECT_EQ(conversation.alerts, (Alerts{{u"Main Process reads pipe failed", u"host"}}));
}

TEST(RunFaxDialog, AHostGoneAfterTheRequestsShowsEveryFailedWrite) {
    Conversation conversation;
    conversation.SendRequests(kRequests);
    struct ClosingForm : ScriptedForm {
        InProcessChannelPair* pair = nullptr;
        bool ShowModal() override {
            pair->CloseHost();
            return ScriptedForm::ShowModal();
        }
    } closing;
    closing.pair = &conversation.pair;
    closing.fieldsAtClose = TypicalFields();
    RunFaxDialog(conversation.client, closing);
    // Eight failed writes, then the confirmation read fails too.
    ASSERT_EQ(conversation.alerts.size(), 9u);
    EXPECT_EQ(conversation.alerts[0].first, u"Write pipe failed");
    EXPECT_EQ(conversation.alerts[8].first, u"Main Process reads pipe failed");
    EXPECT_TRUE(closing.confirmations.empty());
}

TEST(BuildAnswers, RecipientNameIsADotWhenTheBoxIsUntouchedAndEmptyAfterADelete) {
    FormFields fields = TypicalFields();
    EXPECT_EQ(BuildAnswers(true, fields, u"Select from AddressBook").recipientName, u".");
    fields.addressBookText = u"Smith, John";
    EXPECT_EQ(BuildAnswers(true, fields, u"Select from AddressBook").recipientName, u"Smith, John");
    fields.addressBookText = u"";
    EXPECT_EQ(BuildAnswers(true, fields, u"Select from AddressBook").recipientName, u"");
    fields.lineIndex = -1;
    EXPECT_EQ(BuildAnswers(true, fields, u"x").line, u"-1");
    const FaxAnswers cancelled = BuildAnswers(false, fields, u"x");
    EXPECT_EQ(cancelled.result, u"2");
    EXPECT_EQ(cancelled.faxNumbers, u"");
}

}  // namespace
}  // namespace tolvane
