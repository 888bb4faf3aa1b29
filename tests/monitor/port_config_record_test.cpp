#include "common/port_config_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/port_values.h"
#include "monitor/ports/port_config_io.h"
#include "tests/support/memory_key_store.h"

namespace tolvane {
namespace {

// Byte offset of a slot inside the record as callers of "GetConfig" see it.
std::size_t OffsetOf(ConfigSlot slot) {
    PortConfigRecord record{};
    return reinterpret_cast<const std::uint8_t*>(record.slots[static_cast<std::size_t>(slot)]) -
           reinterpret_cast<const std::uint8_t*>(&record);
}

TEST(PortConfigRecord, EveryFieldSitsAtItsContractOffset) {
    EXPECT_EQ(sizeof(PortConfigRecord), 43016u);
    EXPECT_EQ(offsetof(PortConfigRecord, size), 0u);
    EXPECT_EQ(offsetof(PortConfigRecord, reserved), 4u);
    const std::pair<ConfigSlot, std::size_t> expected[] = {
        {ConfigSlot::kPortName, 8},
        {ConfigSlot::kDescription, 0x808},
        {ConfigSlot::kServer, 0x1008},
        {ConfigSlot::kUsername, 0x1808},
        {ConfigSlot::kPassword, 0x2008},
        {ConfigSlot::kDefaultEmail, 0x2808},
        {ConfigSlot::kModem, 0x3008},
        {ConfigSlot::kAddressBookPath, 0x3808},
        {ConfigSlot::kPageSize, 0x4008},
        {ConfigSlot::kNotificationType, 0x4808},
        {ConfigSlot::kIgnorePassiveIp, 0x5008},
        {ConfigSlot::kAddressBookType, 0x5808},
        {ConfigSlot::kResolution, 0x6008},
        {ConfigSlot::kSender, 0x6808},
        {ConfigSlot::kMaxDials, 0x7008},
        {ConfigSlot::kMaxTries, 0x7808},
        {ConfigSlot::kPriority, 0x8008},
        {ConfigSlot::kValidity, 0x8808},
        {ConfigSlot::kConfirm, 0x9008},
        {ConfigSlot::kAdvertising, 0x9808},
        {ConfigSlot::kSysMode, 0xA008},
    };
    for (const auto& [slot, offset] : expected) EXPECT_EQ(OffsetOf(slot), offset) << "slot " << static_cast<int>(slot);
}

TEST(PortConfigRecord, DefaultsAreTheMonitorsOwn) {
    const PortConfigRecord record = MakeDefaultPortConfig();
    EXPECT_EQ(record.size, kPortConfigRecordSize);
    EXPECT_EQ(record.reserved, 0u);
    const std::pair<ConfigSlot, std::u16string_view> expected[] = {
        {ConfigSlot::kPortName, u""},
        {ConfigSlot::kDescription, u"Tolvane Port"},
        {ConfigSlot::kServer, kDefaultServer},
        {ConfigSlot::kUsername, u"fax"},
        {ConfigSlot::kPassword, u""},
        {ConfigSlot::kDefaultEmail, u""},
        {ConfigSlot::kModem, u"0"},
        {ConfigSlot::kAddressBookPath, u"c:\\tiff"},
        {ConfigSlot::kPageSize, u"1"},
        {ConfigSlot::kNotificationType, u""},
        {ConfigSlot::kIgnorePassiveIp, u""},
        {ConfigSlot::kAddressBookType, u"0"},
        {ConfigSlot::kResolution, u"1"},
        {ConfigSlot::kSender, u"fax"},
        {ConfigSlot::kMaxDials, u"2"},
        {ConfigSlot::kMaxTries, u"1"},
        {ConfigSlot::kPriority, u"1"},
        {ConfigSlot::kValidity, u"0"},
        {ConfigSlot::kConfirm, u"1"},
        {ConfigSlot::kAdvertising, u"FAX"},
        {ConfigSlot::kSysMode, u"0"},
    };
    for (const auto& [slot, text] : expected) EXPECT_EQ(SlotText(record, slot), text);
    // Everything after each default text is zero, as the record starts zeroed.
    const char16_t* server = record.slots[static_cast<std::size_t>(ConfigSlot::kServer)];
    for (std::size_t i = kDefaultServer.size(); i < kConfigSlotUnits; ++i) ASSERT_EQ(server[i], 0) << i;
}

TEST(PortConfigRecord, SlotTextIsCutToTheSlotAndAlwaysTerminated) {
    PortConfigRecord record = MakeDefaultPortConfig();
    SetSlotText(record, ConfigSlot::kSender, std::u16string(5000, u's'));
    EXPECT_EQ(SlotText(record, ConfigSlot::kSender).size(), kConfigSlotMaxChars);
    EXPECT_EQ(record.slots[static_cast<std::size_t>(ConfigSlot::kSender)][kConfigSlotMaxChars], 0);
    EXPECT_EQ(SlotText(record, ConfigSlot::kMaxTries), u"1") << "the neighbouring slot is untouched";
}

std::vector<std::uint8_t> Bytes(const PortConfigRecord& record) {
    std::vector<std::uint8_t> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

TEST(PortConfigRecord, ParsingRefusesShortMismatchedOrUnterminatedRecords) {
    PortConfigRecord record = MakeDefaultPortConfig();
    SetSlotText(record, ConfigSlot::kPortName, u"P");
    EXPECT_TRUE(ParsePortConfigRecord(Bytes(record)).has_value());

    std::vector<std::uint8_t> shortInput = Bytes(record);
    shortInput.pop_back();
    EXPECT_FALSE(ParsePortConfigRecord(shortInput).has_value());

    PortConfigRecord wrongSize = record;
    wrongSize.size = 43015;
    EXPECT_FALSE(ParsePortConfigRecord(Bytes(wrongSize)).has_value());

    PortConfigRecord reserved = record;
    reserved.reserved = 1;
    EXPECT_FALSE(ParsePortConfigRecord(Bytes(reserved)).has_value());

    PortConfigRecord unterminated = record;
    std::fill(std::begin(unterminated.slots[20]), std::end(unterminated.slots[20]), u'x');
    EXPECT_FALSE(ParsePortConfigRecord(Bytes(unterminated)).has_value());
}

class PortConfigIo : public ::testing::Test {
protected:
    testing::MemoryKeyStore store_;
};

TEST_F(PortConfigIo, APortWithOnlyDescriptionReadsBackWithMonitorDefaults) {
    store_.CreateKey(u"Ports\\P");
    store_.SetStringValue(u"Ports\\P", u"Description", u"Tolvane Port");
    PortConfigRecord record;
    ASSERT_TRUE(ReadPortConfig(store_, u"P", record));
    PortConfigRecord expected = MakeDefaultPortConfig();
    SetSlotText(expected, ConfigSlot::kPortName, u"P");
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
}

TEST_F(PortConfigIo, StoredValuesFillTheirSlotsAndAMissingKeyFails) {
    store_.CreateKey(u"Ports\\Q");
    store_.SetStringValue(u"Ports\\Q", u"Server", u"10.1.2.3");
    store_.SetStringValue(u"Ports\\Q", u"Password", std::u16string(1023, u'p'));  // as long as a slot holds
    store_.SetStringValue(u"Ports\\Q", u"Sender", std::u16string(1024, u's'));    // longer: keeps the default
    PortConfigRecord record;
    ASSERT_TRUE(ReadPortConfig(store_, u"Q", record));
    EXPECT_EQ(SlotText(record, ConfigSlot::kServer), u"10.1.2.3");
    EXPECT_EQ(SlotText(record, ConfigSlot::kPassword), std::u16string(1023, u'p'));
    EXPECT_EQ(SlotText(record, ConfigSlot::kSender), u"fax");

    EXPECT_FALSE(ReadPortConfig(store_, u"Missing", record));
    EXPECT_EQ(SlotText(record, ConfigSlot::kServer), kDefaultServer);
    EXPECT_EQ(SlotText(record, ConfigSlot::kPortName), u"Missing");
}

TEST_F(PortConfigIo, AValueThatIsNotTextReadsAsMissing) {
    // MaxDials typed in by hand as a REG_DWORD 5: its four bytes are no text.
    store_.CreateKey(u"Ports\\P");
    store_.SetRawValue(u"Ports\\P", u"MaxDials", {5, 0, 0, 0}, value_type::kDword);
    store_.SetRawValue(u"Ports\\P", u"Server", {'1', 0, '.', 0, '2', 0, 0, 0}, value_type::kExpandableText);
    PortConfigRecord record;
    ASSERT_TRUE(ReadPortConfig(store_, u"P", record));
    EXPECT_EQ(SlotText(record, ConfigSlot::kMaxDials), SlotText(MakeDefaultPortConfig(), ConfigSlot::kMaxDials));
    EXPECT_EQ(SlotText(record, ConfigSlot::kServer), u"1.2");
}

TEST_F(PortConfigIo, WritingStoresAllTwentyValuesButNeverCreatesThePort) {
    PortConfigRecord record = MakeDefaultPortConfig();
    SetSlotText(record, ConfigSlot::kPortName, u"P");
    SetSlotText(record, ConfigSlot::kDefaultEmail, u"ops@example.com");
    EXPECT_FALSE(WritePortConfig(store_, record));
    EXPECT_FALSE(store_.HasKey(u"Ports\\P"));

    store_.CreateKey(u"Ports\\P");
    ASSERT_TRUE(WritePortConfig(store_, record));
    EXPECT_EQ(store_.ValueCount(u"Ports\\P"), 20u);
    EXPECT_EQ(store_.Value(u"Ports\\P", u"DefaultEmail"), u"ops@example.com");
    EXPECT_EQ(store_.Value(u"Ports\\P", u"Password"), u"") << "empty slots are written as empty text";

    PortConfigRecord back;
    ASSERT_TRUE(ReadPortConfig(store_, u"P", back));
    EXPECT_EQ(std::memcmp(&record, &back, sizeof record), 0);
}

}  // namespace
}  // namespace tolvane
