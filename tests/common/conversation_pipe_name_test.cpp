// Each conversation's pipe name: never the same twice, and the only names
// Korrim.exe takes from its command line.
#include "common/conversation_pipe_name.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

TEST(ConversationPipeName, NamesFromManyThreadsAreAllDifferentAndReadBack) {
    std::vector<std::vector<std::u16string>> names(8);
    std::vector<std::thread> threads;
    for (auto& list : names) {
        threads.emplace_back([&list] {
            for (int i = 0; i < 500; ++i) list.push_back(NewConversationPipeName(4242));
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::set<std::u16string> distinct;
    for (const auto& list : names) distinct.insert(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), 8u * 500u);

    const std::u16string name = *distinct.begin();
    EXPECT_EQ(name.rfind(u"\\\\.\\pipe\\Caskel-4242-", 0), 0u);
    EXPECT_EQ(PipeNameOnCommandLine(u"\"C:\\Windows\\SysWOW64\\Tolvane\\Korrim.exe\" /pipe " + name), name);
    EXPECT_EQ(PipeNameOnCommandLine(u"Korrim.exe /pipe " + name + u" /notice"), name);
}

TEST(ConversationPipeName, AnyOtherPipeOrAMalformedLineIsRefused) {
    for (const std::u16string line :
         {u"Korrim.exe", u"Korrim.exe /pipe", u"Korrim.exe /pipe ", u"Korrim.exe /pipe \\\\.\\pipe\\Caskel",
          u"Korrim.exe /pipe \\\\.\\pipe\\Caskel-1", u"Korrim.exe /pipe \\\\.\\pipe\\Caskel-1-",
          u"Korrim.exe /pipe \\\\.\\pipe\\Caskel--2", u"Korrim.exe /pipe \\\\.\\pipe\\Caskel-1-2\\x",
          u"Korrim.exe /pipe \\\\.\\pipe\\Caskel-1-2x", u"Korrim.exe /pipe \\\\.\\pipe\\Other-1-2",
          u"Korrim.exe /pipe \\\\server\\pipe\\Caskel-1-2", u"Korrim.exe /pipe \\\\.\\pipe\\Caskel-12345678901-2",
          u"Korrim.exe x/pipe \\\\.\\pipe\\Caskel-1-2", u"Korrim.exe /notice"}) {
        EXPECT_FALSE(PipeNameOnCommandLine(line)) << std::string(line.begin(), line.end());
    }
}

}  // namespace
}  // namespace tolvane
