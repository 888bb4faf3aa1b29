// The conversation's framing and its host side, over an in-process channel.
#include "common/pipe_conversation.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "tests/support/in_process_channel.h"

namespace tolvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Alerts = std::vector<std::pair<std::u16string, std::u16string>>;

AlertSink Recorder(Alerts& alerts) {
    return [&alerts](std::u16string_view text, std::u16string_view caption) { alerts.emplace_back(text, caption); };
}

TEST(MessageFraming, TextsTravelAsUtf16LeWithoutTerminatorAndEmptyAsOneSpace) {
    EXPECT_EQ(EncodeMessage(u"A\u00e9"), (Bytes{0x41, 0x00, 0xE9, 0x00}));
    EXPECT_EQ(EncodeMessage(u"\u20ac"), (Bytes{0xAC, 0x20}));
    EXPECT_EQ(EncodeMessage(u""), (Bytes{0x20, 0x00}));
    EXPECT_EQ(DecodeMessage(EncodeMessage(u"")), u" ");
    EXPECT_EQ(DecodeMessage(EncodeMessage(u"Fax \u00e9\u20ac")), u"Fax \u00e9\u20ac");
}

TEST(MessageFraming, ReaderStopsAtFirstZeroUnitAndIgnoresAnOddTrailingByte) {
    EXPECT_EQ(DecodeMessage(Bytes{0x31, 0x00, 0x00, 0x00, 0x32, 0x00}), u"1");
    EXPECT_EQ(DecodeMessage(Bytes{0x31, 0x00, 0x32}), u"1");
    EXPECT_EQ(DecodeMessage(Bytes{}), u"");
    // A peer that sends the terminator too (the monitor does) reads the same.
    EXPECT_EQ(DecodeMessage(Bytes{0x4F, 0x00, 0x4B, 0x00, 0x00, 0x00}), u"OK");
}

TEST(MessageFraming, OverlongTextsAreCutToTheBufferLimitBothWays) {
    const std::u16string longText(20000, u'x');
    const Bytes encoded = EncodeMessage(longText);
    EXPECT_EQ(encoded.size(), kMaxMessageUnits * 2);
    const Bytes fullRead(kPipeReadBytes, 0x41);  // 8192 units of U+4141, no zero
    EXPECT_EQ(DecodeMessage(fullRead), std::u16string(kMaxMessageUnits, u'\u4141'));
}

TEST(ConversationPeer, FailuresShowTheFixedTextsAndLeaveTheReadTextAlone) {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer client(pair.client(), Recorder(alerts));
    pair.CloseHost();
    std::u16string text = u"previous";
    EXPECT_FALSE(client.Read(text));
    EXPECT_EQ(text, u"previous");
    EXPECT_FALSE(client.Write(u"1"));
    EXPECT_EQ(alerts, (Alerts{{u"Main Process reads pipe failed", u"host"}, {u"Write pipe failed", u"host"}}));
}

FaxRequests SampleRequests() {
    FaxRequests requests;
    requests.addressBookType = u"1";
    requests.addressBookFolder = u"C:\\Book";
    requests.documentName = u"";
    requests.line = u"3";
    requests.sender = u"Ann";
    requests.resolution = u"2";
    requests.priority = u"0";
    requests.notifyEmail = u"ann@example.org";
    requests.confirmation = u"1";
    return requests;
}

TEST(HostConversation, SendsTheNineRequestsInOrderWithEmptyAsSpace) {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer host(pair.host(), Recorder(alerts));
    ConversationPeer client(pair.client(), Recorder(alerts));
    ASSERT_TRUE(SendRequests(host, SampleRequests()));
    std::vector<std::u16string> received;
    for (int i = 0; i < 9; ++i) {
        std::u16string text;
        ASSERT_TRUE(client.Read(text));
        received.push_back(text);
    }
    EXPECT_EQ(received, (std::vector<std::u16string>{u"1", u"C:\\Book", u" ", u"3", u"Ann", u"2", u"0",
                                                     u"ann@example.org", u"1"}));
    EXPECT_TRUE(alerts.empty());
}

TEST(HostConversation, WritesEveryRequestEvenAfterAFailureAndShowsEachFailure) {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer host(pair.host(), Recorder(alerts));
    pair.CloseClient();
    EXPECT_FALSE(SendRequests(host, SampleRequests()));
    EXPECT_EQ(alerts.size(), 9u);
}

TEST(HostConversation, CancelCarriesOnlyTheResultAndSendCarriesSevenDetails) {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer host(pair.host(), Recorder(alerts));
    ConversationPeer client(pair.client(), Recorder(alerts));

    FaxAnswers cancel;
    cancel.result = u"2";
    cancel.faxNumbers = u"never sent";
    ASSERT_TRUE(SendAnswers(client, cancel));
    EXPECT_EQ(pair.PendingForHost(), 1u);
    FaxAnswers received;
    ASSERT_TRUE(ReceiveAnswers(host, received));
    EXPECT_FALSE(received.IsSend());
    EXPECT_EQ(received.result, u"2");
    EXPECT_EQ(received.faxNumbers, u"");

    FaxAnswers send{u"1", u"Bob@555;666", u".", u"-1", u"", u"1", u"2", u"x@y"};
    ASSERT_TRUE(SendAnswers(client, send));
    ASSERT_TRUE(ReceiveAnswers(host, received));
    FaxAnswers expected = send;
    expected.sender = u" ";  // the empty sender travelled as one space
    EXPECT_EQ(received.result, expected.result);
    EXPECT_EQ(received.faxNumbers, expected.faxNumbers);
    EXPECT_EQ(received.recipientName, expected.recipientName);
    EXPECT_EQ(received.line, expected.line);
    EXPECT_EQ(received.sender, expected.sender);
    EXPECT_EQ(received.resolution, expected.resolution);
    EXPECT_EQ(received.priority, expected.priority);
    EXPECT_EQ(received.notifyEmail, expected.notifyEmail);
    EXPECT_TRUE(alerts.empty());
}

TEST(HostConversation, AFailedAnswerReadCountsAsEmptyAndIsShown) {
    InProcessChannelPair pair;
    Alerts alerts;
    ConversationPeer host(pair.host(), Recorder(alerts));
    ConversationPeer client(pair.client(), Recorder(alerts));
    ASSERT_TRUE(client.Write(u"1"));
    ASSERT_TRUE(client.Write(u"555"));
    pair.CloseClient();
    FaxAnswers received;
    EXPECT_FALSE(ReceiveAnswers(host, received));
    EXPECT_TRUE(received.IsSend());
    EXPECT_EQ(received.faxNumbers, u"555");
    EXPECT_EQ(received.recipientName, u"");
    EXPECT_EQ(received.notifyEmail, u"");
    EXPECT_EQ(alerts.size(), 6u);  // answers C to H
}

TEST(InProcessChannel, AShortReadLeavesTheRestOfTheMessageAndAReadWaitsForTheWriter) {
    InProcessChannelPair pair;
    ASSERT_TRUE(pair.host().WriteMessage(Bytes{1, 2, 3, 4, 5}));
    Bytes bytes;
    ASSERT_TRUE(pair.client().ReadMessage(bytes, 2));
    EXPECT_EQ(bytes, (Bytes{1, 2}));
    ASSERT_TRUE(pair.client().ReadMessage(bytes, 100));
    EXPECT_EQ(bytes, (Bytes{3, 4, 5}));

    std::thread writer([&] { pair.host().WriteMessage(Bytes{9}); });
    ASSERT_TRUE(pair.client().ReadMessage(bytes, 100));
    writer.join();
    EXPECT_EQ(bytes, (Bytes{9}));

    ASSERT_TRUE(pair.host().WriteMessage(Bytes{7}));
    pair.CloseHost();
    ASSERT_TRUE(pair.client().ReadMessage(bytes, 100));  // still delivered after close
    EXPECT_EQ(bytes, (Bytes{7}));
    EXPECT_FALSE(pair.client().ReadMessage(bytes, 100));
    EXPECT_EQ(bytes, (Bytes{7}));
}

}  // namespace
}  // namespace tolvane
