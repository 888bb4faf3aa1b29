// Twenty documents ending at once, each with a conversation of its own over an
// in-process channel, against the real client flow of Korrim.exe: all twenty
// forms are up together, the users answer in a random order, and every
// document gets the number typed into its own form.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/send_fax_form/fax_dialog_flow.h"
#include "monitor/print_path/conversation_dialog.h"
#include "tests/support/in_process_channel.h"

namespace tolvane {
namespace {

constexpr int kDocuments = 20;
// Far longer than twenty conversations take when none waits for another.
constexpr auto kAllFormsLimit = std::chrono::seconds(30);

std::u16string Text(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// Where the users are: how many forms are up, and whose turn it is to answer.
class Desk {
public:
    explicit Desk(std::vector<int> answerOrder) : order_(std::move(answerOrder)) {}

    // Waits until every form is up and it is this document's turn; false when
    // that does not come within the limit (the forms never were up together).
    bool WaitForTurn(int document) {
        std::unique_lock lock(mutex_);
        ++formsUp_;
        changed_.notify_all();
        return changed_.wait_for(lock, kAllFormsLimit,
                                 [&] { return formsUp_ == kDocuments && order_[next_] == document; });
    }
    void Answered() {
        std::lock_guard lock(mutex_);
        ++next_;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> order_;
    std::size_t next_ = 0;
    int formsUp_ = 0;
};

// The form of one document: it reads its document's number off the name it
// shows and types the fax number that belongs to it.
class DeskForm final : public SendFaxFormPort {
public:
    explicit DeskForm(Desk& desk) : desk_(desk) {}
    std::u16string Prepare(const FormRequest& request) override {
        const std::string name(request.documentName.begin(), request.documentName.end());
        document_ = std::stoi(name.substr(name.find(' ') + 1));
        return u"Select from AddressBook";
    }
    bool ShowModal() override {
        inTime_ = desk_.WaitForTurn(document_);
        return inTime_;
    }
    FormFields Fields() override {
        FormFields fields;
        fields.faxNumbers = Text("70" + std::to_string(100 + document_));
        fields.addressBookText = u"Select from AddressBook";
        fields.lineIndex = 0;
        return fields;
    }
    void ShowJobConfirm(const std::u16string&) override {}
    bool InTime() const { return inTime_; }

private:
    Desk& desk_;
    int document_ = -1;
    bool inTime_ = false;
};

TEST(ConcurrentConversations, TwentyFormsAreUpTogetherAndEachAnswerReachesItsDocument) {
    std::vector<int> order(kDocuments);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(4559));
    Desk desk(order);

    std::vector<InProcessChannelPair> channels(kDocuments);
    std::vector<FaxAnswers> answers(kDocuments);
    std::vector<char> asked(kDocuments, 0);
    std::vector<char> formsInTime(kDocuments, 0);
    std::vector<std::thread> threads;
    for (int document = 0; document < kDocuments; ++document) {
        threads.emplace_back([&, document] {
            ConversationPeer peer(channels[document].host(), {});
            ConversationDialog dialog(peer, /*monitorConfirms=*/true, [](std::u16string_view) {});
            FaxRequests requests;
            requests.documentName = Text("Document " + std::to_string(document));
            requests.line = u"0";
            requests.confirmation = u"0";
            asked[document] = dialog.Ask(requests, answers[document]);
            channels[document].CloseHost();
        });
        threads.emplace_back([&, document] {
            ConversationPeer peer(channels[document].client(), {});
            DeskForm form(desk);
            RunFaxDialog(peer, form);
            formsInTime[document] = form.InTime();
            if (form.InTime()) desk.Answered();
            channels[document].CloseClient();
        });
    }
    for (std::thread& thread : threads) thread.join();

    for (int document = 0; document < kDocuments; ++document) {
        SCOPED_TRACE("document " + std::to_string(document));
        EXPECT_TRUE(formsInTime[document]) << "the twenty forms were never up together";
        EXPECT_TRUE(asked[document]);
        EXPECT_EQ(answers[document].result, kResultSend);
        EXPECT_EQ(answers[document].faxNumbers, Text("70" + std::to_string(100 + document)));
    }
}

}  // namespace
}  // namespace tolvane
