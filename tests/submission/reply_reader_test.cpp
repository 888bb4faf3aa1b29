#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "monitor/submission/reply_reader.h"

namespace tolvane {
namespace {

TEST(ReplyLineBuffer, HandsOutWholeLinesHoweverTheBytesArrive) {
    ReplyLineBuffer buffer;
    std::string line;
    buffer.Append("220 rea");
    EXPECT_FALSE(buffer.TakeLine(line));
    buffer.Append("dy.\r");
    EXPECT_FALSE(buffer.TakeLine(line));
    buffer.Append("\n331 Password\r\n230 ok\n2");
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, "220 ready.");
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, "331 Password");
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, "230 ok");  // a bare LF ends a line too
    EXPECT_FALSE(buffer.TakeLine(line));
    buffer.Append("00 Job 1 submitted.\r\n");
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, "200 Job 1 submitted.");
}

TEST(ReplyLineBuffer, KeepsZeroBytesAndFlagsEndlessLines) {
    ReplyLineBuffer buffer;
    std::string line;
    buffer.Append(std::string("500 a\0b\r\n", 9));
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, std::string("500 a\0b", 7));

    buffer.Append(std::string(kMaxReplyLineBytes, 'x'));
    EXPECT_FALSE(buffer.TakeLine(line));
    EXPECT_FALSE(buffer.Overlong());
    buffer.Append("x");
    EXPECT_FALSE(buffer.TakeLine(line));
    EXPECT_TRUE(buffer.Overlong());
}

TEST(ReplyLineBuffer, AnySplitOfAStreamYieldsTheSameLines) {
    const std::string stream =
        "220 ready.\r\n213-JOBID: 7\r\n213-\r\n213 end\r\n226 Transfer complete (FILE: /tmp/doc1.ps).\r\n";
    const std::vector<std::string> expected = {"220 ready.", "213-JOBID: 7", "213-", "213 end",
                                               "226 Transfer complete (FILE: /tmp/doc1.ps)."};
    std::mt19937 random(4559);
    for (int round = 0; round < 500; ++round) {
        ReplyLineBuffer buffer;
        std::vector<std::string> lines;
        std::string line;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t piece = 1 + random() % 9;
            buffer.Append(std::string_view(stream).substr(at, piece));
            at += piece;
            while (buffer.TakeLine(line)) lines.push_back(line);
        }
        ASSERT_EQ(lines, expected) << "round " << round;
    }
}

// A connection's receive that hands out the scripted pieces one per call,
// then reports the connection closed.
ReceiveBytes Pieces(std::vector<std::string> pieces) {
    auto next = std::make_shared<std::size_t>(0);
    return [pieces = std::move(pieces), next](std::span<char> chunk, std::size_t& received) {
        if (*next == pieces.size()) return IoResult::Failure(IoStatus::Closed, {});
        const std::string& piece = pieces[(*next)++];
        received = std::min(piece.size(), chunk.size());
        std::copy_n(piece.begin(), received, chunk.begin());
        return IoResult::Success();
    };
}

TEST(ReplyLineBuffer, ReadLineReceivesUntilTheLineEndsAndKeepsTheRest) {
    ReplyLineBuffer buffer;
    const ReceiveBytes receive = Pieces({"22", "0 rea", "dy.\r\n331 Pass", "word\r\n"});
    std::string line;
    ASSERT_TRUE(buffer.ReadLine(line, receive).Ok());
    EXPECT_EQ(line, "220 ready.");
    ASSERT_TRUE(buffer.ReadLine(line, receive).Ok());
    EXPECT_EQ(line, "331 Password");
    EXPECT_EQ(buffer.ReadLine(line, receive).status, IoStatus::Closed);
}

TEST(ReplyLineBuffer, ReadLineGivesUpOnAnEndlessLine) {
    ReplyLineBuffer buffer;
    const std::vector<std::string> endless(kMaxReplyLineBytes / 4096 + 2, std::string(4096, 'x'));
    std::string line;
    const IoResult result = buffer.ReadLine(line, Pieces(endless));
    EXPECT_EQ(result.status, IoStatus::Failed);
    EXPECT_EQ(result.detail, "reply line longer than " + std::to_string(kMaxReplyLineBytes) + " bytes");
}

TEST(ReplyCode, ReadsThreeDigitsFollowedByBlankDashOrEnd) {
    EXPECT_EQ(ReplyCodeOf("227 Entering passive mode"), 227);
    EXPECT_EQ(ReplyCodeOf("213-JOBID"), 213);
    EXPECT_EQ(ReplyCodeOf("213"), 213);
    EXPECT_EQ(ReplyCodeOf("2130 x"), 0);
    EXPECT_EQ(ReplyCodeOf("21"), 0);
    EXPECT_EQ(ReplyCodeOf("ab1 x"), 0);
    EXPECT_EQ(ReplyCodeOf(""), 0);
}

TEST(ServerReply, ClassifiesCodesAndRendersLines) {
    ServerReply reply{230, {"230-Notice", "230 User logged in."}};
    EXPECT_TRUE(reply.Completed());
    EXPECT_TRUE(reply.Positive());
    EXPECT_EQ(reply.Text(), "230-Notice\r\n230 User logged in.\r\n");
    EXPECT_EQ(reply.OneLine(), "230-Notice 230 User logged in.");
    EXPECT_TRUE((ServerReply{150, {}}).Preliminary());
    EXPECT_TRUE((ServerReply{331, {}}).Positive());
    EXPECT_FALSE((ServerReply{331, {}}).Completed());
    EXPECT_FALSE((ServerReply{530, {}}).Positive());
    EXPECT_FALSE((ServerReply{0, {"garbage"}}).Positive());
}

}  // namespace
}  // namespace tolvane
