#include <gtest/gtest.h>

#include "monitor/submission/passive_reply.h"

namespace tolvane {
namespace {

TEST(PassiveReply, ReadsAddressAndPort) {
    auto passive = ParsePassiveReply("227 Entering Passive Mode (10,0,0,5,18,52)");
    ASSERT_TRUE(passive);
    EXPECT_EQ(passive->address, "10.0.0.5");
    EXPECT_EQ(passive->port, 4660);

    passive = ParsePassiveReply("227 Entering passive mode (127,0,0,1,189,65)");
    ASSERT_TRUE(passive);
    EXPECT_EQ(passive->address, "127.0.0.1");
    EXPECT_EQ(passive->port, 189 * 256 + 65);

    passive = ParsePassiveReply("227 ok ( 192, 168,1,20 ,255,255)");
    ASSERT_TRUE(passive);
    EXPECT_EQ(passive->address, "192.168.1.20");
    EXPECT_EQ(passive->port, 65535);
}

TEST(PassiveReply, RejectsEverythingElse) {
    for (const char* reply : {"227 Entering passive mode", "227 (10,0,0,5,18)", "227 (10,0,0,5,18,52",
                              "227 (10,0,0,256,18,52)", "227 (10,0,0,5,18,0052)", "227 (10,0,0,5,18,52,1)",
                              "227 (10,0,0,5,0,0)", "227 (a,b,c,d,e,f)", "227 (10,,0,5,18,52)", ""}) {
        EXPECT_FALSE(ParsePassiveReply(reply)) << reply;
    }
}

TEST(PassiveReply, IgnorePassiveIpChoosesTheServerAddress) {
    const PassiveAddress passive{"10.0.0.5", 4660};
    EXPECT_EQ(DataConnectionAddress(passive, "192.168.1.2", "1"), "192.168.1.2");
    EXPECT_EQ(DataConnectionAddress(passive, "192.168.1.2", "0"), "10.0.0.5");
    EXPECT_EQ(DataConnectionAddress(passive, "192.168.1.2", ""), "10.0.0.5");
}

}  // namespace
}  // namespace tolvane
