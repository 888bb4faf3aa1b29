#include "monitor/ports/port_enumeration.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/memory_key_store.h"

namespace tolvane {
namespace {

const std::vector<PortListing> kPorts = {{u"P", u"Tolvane Port"}, {u"Q2", u""}};

TEST(PortEnumeration, OnlyLevelsOneAndTwo) {
    std::vector<std::uint8_t> buffer(4096);
    EXPECT_EQ(PackPortInfo(3, kPorts, buffer).error, 124u);
    EXPECT_EQ(PackPortInfo(0, kPorts, buffer).error, 124u);
}

TEST(PortEnumeration, SizeComesFirstAndAShortBufferIsUntouched) {
    const std::size_t level2 = 2 * sizeof(PortInfo2) + (2 + 8 + 13) * 2 + (3 + 8 + 1) * 2;
    EnumPortsResult noBuffer = PackPortInfo(2, kPorts, {});
    EXPECT_EQ(noBuffer.error, 122u);
    EXPECT_EQ(noBuffer.needed, level2);
    EXPECT_EQ(noBuffer.returned, 0u);

    std::vector<std::uint8_t> small(level2 - 1, 0xAB);
    EXPECT_EQ(PackPortInfo(2, kPorts, small).error, 122u);
    EXPECT_EQ(small, std::vector<std::uint8_t>(level2 - 1, 0xAB));

    EXPECT_EQ(PackPortInfo(1, kPorts, {}).needed, 2 * sizeof(PortInfo1) + (2 + 3) * 2);
}

TEST(PortEnumeration, LevelTwoPacksRecordsFirstAndStringsDownFromTheEnd) {
    const std::uint32_t needed = PackPortInfo(2, kPorts, {}).needed;
    std::vector<std::uint8_t> buffer(needed + 64, 0xAB);
    const EnumPortsResult result = PackPortInfo(2, kPorts, buffer);
    ASSERT_EQ(result.error, 0u);
    ASSERT_EQ(result.returned, 2u);
    const auto* info = reinterpret_cast<const PortInfo2*>(buffer.data());
    EXPECT_EQ(std::u16string(info[0].portName), u"P");
    EXPECT_EQ(std::u16string(info[0].monitorName), u"Tolvane");
    EXPECT_EQ(std::u16string(info[0].description), u"Tolvane Port");
    EXPECT_EQ(info[0].portType, 1u);
    EXPECT_EQ(info[0].reserved, 0u);
    EXPECT_EQ(std::u16string(info[1].portName), u"Q2");
    EXPECT_EQ(std::u16string(info[1].description), u"");

    const auto* first = reinterpret_cast<const std::uint8_t*>(info[0].portName);
    EXPECT_EQ(first + 4, buffer.data() + buffer.size()) << "the first string ends the buffer";
    const auto* lowest = reinterpret_cast<const std::uint8_t*>(info[1].description);
    EXPECT_EQ(lowest, buffer.data() + buffer.size() - (needed - 2 * sizeof(PortInfo2)));
    for (const std::uint8_t* p = buffer.data() + 2 * sizeof(PortInfo2); p < lowest; ++p) ASSERT_EQ(*p, 0xAB);
}

TEST(PortEnumeration, LevelOneFitsAnExactBuffer) {
    const std::uint32_t needed = PackPortInfo(1, kPorts, {}).needed;
    std::vector<std::uint8_t> buffer(needed);
    const EnumPortsResult result = PackPortInfo(1, kPorts, buffer);
    ASSERT_EQ(result.error, 0u);
    const auto* info = reinterpret_cast<const PortInfo1*>(buffer.data());
    EXPECT_EQ(std::u16string(info[0].name), u"P");
    EXPECT_EQ(std::u16string(info[1].name), u"Q2");
}

TEST(PortEnumeration, ListsPortsWithTheirDescriptions) {
    testing::MemoryKeyStore store;
    store.CreateKey(u"Ports\\P");
    store.SetStringValue(u"Ports\\P", u"Description", u"Tolvane Port");
    store.CreateKey(u"Ports\\Locked");
    store.SetStringValue(u"Ports\\Locked", u"Description", u"hidden");
    store.DenyAccess(u"Ports\\Locked", KeyAccess::kRead);
    store.CreateKey(u"Ports\\Long");
    store.SetStringValue(u"Ports\\Long", u"Description", std::u16string(128, u'd'));
    const std::vector<PortListing> ports = ListPorts(store);
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, u"P");
    EXPECT_EQ(ports[0].description, u"Tolvane Port");
    EXPECT_EQ(ports[1].description, u"") << "unreadable key";
    EXPECT_EQ(ports[2].description, u"") << "longer than 127 characters";

    testing::MemoryKeyStore empty;
    EXPECT_TRUE(ListPorts(empty).empty());
}

}  // namespace
}  // namespace tolvane
