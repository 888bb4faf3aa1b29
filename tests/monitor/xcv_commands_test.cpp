#include "monitor/ports/xcv_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "common/port_config_record.h"
#include "monitor/ports/port_config_io.h"
#include "tests/support/memory_key_store.h"

namespace tolvane {
namespace {

// The machine as the commands see it: this monitor's key plus the ports that
// other monitors own (the real environment asks the spooler for all of them).
class FakeEnvironment final : public XcvEnvironment {
public:
    KeyStore& MonitorKey() override { return store; }
    std::uint32_t PortExistsOnMachine(const std::u16string& name, bool& exists) override {
        if (enumerationError != 0) return enumerationError;
        exists = otherPorts.count(name) > 0 || (store.HasKey(u"Ports\\" + name) && !name.empty());
        return 0;
    }
    std::u16string MonitorUiPath() override { return u"C:\\windows\\SysWOW64\\Tolvane\\Caskelui.dll"; }

    testing::MemoryKeyStore store;
    std::set<std::u16string> otherPorts{u"LPT1:", u"FILE:"};
    std::uint32_t enumerationError = 0;
};

std::vector<std::uint8_t> Utf16Input(std::u16string_view text, bool terminated = true) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

class XcvCommands : public ::testing::Test {
protected:
    std::uint32_t Run(std::u16string_view command, const std::vector<std::uint8_t>& input,
                      std::uint32_t access = kAdministerAccess, std::span<std::uint8_t> output = {}) {
        XcvRequest request{command, input, output, access};
        needed_ = 0xDEAD;
        return RunXcvCommand(env_, request, needed_);
    }
    std::uint32_t AddPort(std::u16string_view name) { return Run(u"AddPort", Utf16Input(name)); }

    std::vector<std::uint8_t> ValidRecord(std::u16string_view port) {
        PortConfigRecord record = MakeDefaultPortConfig();
        SetSlotText(record, ConfigSlot::kPortName, port);
        SetSlotText(record, ConfigSlot::kServer, u"10.0.0.9");
        std::vector<std::uint8_t> bytes(sizeof record);
        std::memcpy(bytes.data(), &record, sizeof record);
        return bytes;
    }

    FakeEnvironment env_;
    std::uint32_t needed_ = 0;
};

TEST_F(XcvCommands, AddPortCreatesTheKeyWithItsDescriptionOnly) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    EXPECT_TRUE(env_.store.HasKey(u"Ports\\P"));
    EXPECT_EQ(env_.store.Value(u"Ports\\P", u"Description"), u"Tolvane Port");
    EXPECT_EQ(env_.store.ValueCount(u"Ports\\P"), 1u);
}

TEST_F(XcvCommands, PortKeysAreForAdministratorsOnly) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    EXPECT_TRUE(env_.store.IsRestricted(u"Ports\\P")) << "a new port key";
    env_.store.CreateKey(u"Ports\\Old");  // from before, or made by hand
    EXPECT_EQ(RestrictEveryPortKey(env_.store), 0u);
    EXPECT_TRUE(env_.store.IsRestricted(u"Ports\\Old"));
    EXPECT_FALSE(env_.store.IsRestricted(u"Ports")) << "the list of ports stays as it is";
}

TEST_F(XcvCommands, AddPortRefusesExistingNamesAndUnusableOnes) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    env_.store.SetStringValue(u"Ports\\P", u"Server", u"10.0.0.1");
    EXPECT_EQ(AddPort(u"P"), 87u);
    EXPECT_EQ(env_.store.Value(u"Ports\\P", u"Server"), u"10.0.0.1") << "a refused AddPort changes nothing";
    EXPECT_EQ(AddPort(u"LPT1:"), 87u) << "another monitor's port";
    EXPECT_EQ(AddPort(u""), 87u);
    EXPECT_EQ(AddPort(u"a\\b"), 87u) << "a backslash would reach below another key";
    EXPECT_EQ(Run(u"AddPort", {}), 87u) << "no input at all";
    env_.enumerationError = 8;
    EXPECT_EQ(AddPort(u"Z"), 87u) << "unknown whether it exists: not created";
    EXPECT_FALSE(env_.store.HasKey(u"Ports\\Z"));
}

TEST_F(XcvCommands, AddPortCutsLongNamesToSevenCharacters) {
    ASSERT_EQ(AddPort(u"ABCDEFGHIJ"), 0u);
    EXPECT_TRUE(env_.store.HasKey(u"Ports\\ABCDEFG"));
    EXPECT_FALSE(env_.store.HasKey(u"Ports\\ABCDEFGHIJ"));

    env_.store.SetStringValue(u"Ports\\ABCDEFG", u"Server", u"10.0.0.1");
    EXPECT_EQ(AddPort(u"ABCDEFGXYZ"), 87u) << "a long name must not take over the port its cut names";
    EXPECT_EQ(env_.store.Value(u"Ports\\ABCDEFG", u"Server"), u"10.0.0.1");
}

TEST_F(XcvCommands, PortNamesAreReadWithinTheInputEvenWithoutATerminator) {
    std::vector<std::uint8_t> input = Utf16Input(u"XY", /*terminated=*/false);
    input.push_back('Z');  // an odd byte count: the half unit is ignored
    ASSERT_EQ(Run(u"AddPort", input), 0u);
    EXPECT_TRUE(env_.store.HasKey(u"Ports\\XY"));
}

TEST_F(XcvCommands, CommandsThatChangePortsNeedAdministerAccess) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    EXPECT_EQ(Run(u"AddPort", Utf16Input(u"Q"), /*access=*/0), 5u);
    EXPECT_EQ(Run(u"DeletePort", Utf16Input(u"P"), 0), 5u);
    EXPECT_EQ(Run(u"SetConfig", ValidRecord(u"P"), 0), 5u) << "even when the record is valid";
    EXPECT_TRUE(env_.store.HasKey(u"Ports\\P"));
    EXPECT_FALSE(env_.store.HasKey(u"Ports\\Q"));
    EXPECT_EQ(Run(u"PortExists", Utf16Input(u"P"), 0), 1802u) << "reading needs no rights";
}

TEST_F(XcvCommands, DeletePortRemovesOnlyAnExistingPortKey) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    EXPECT_EQ(Run(u"DeletePort", Utf16Input(u"P")), 0u);
    EXPECT_FALSE(env_.store.HasKey(u"Ports\\P"));
    EXPECT_EQ(Run(u"DeletePort", Utf16Input(u"P")), 87u);
    EXPECT_EQ(Run(u"DeletePort", Utf16Input(u"")), 87u) << "never the ports key itself";
    EXPECT_TRUE(env_.store.HasKey(u"Ports"));
}

TEST_F(XcvCommands, PortExistsAnswersForEveryPortOfTheMachine) {
    EXPECT_EQ(Run(u"PortExists", Utf16Input(u"P")), 0u);
    ASSERT_EQ(AddPort(u"P"), 0u);
    EXPECT_EQ(Run(u"PortExists", Utf16Input(u"P")), 1802u);
    EXPECT_EQ(Run(u"PortExists", Utf16Input(u"FILE:")), 1802u);
    env_.enumerationError = 8;
    EXPECT_EQ(Run(u"PortExists", Utf16Input(u"P")), 8u);
}

TEST_F(XcvCommands, MonitorUiAnswersThePathWithinTheGivenBuffer) {
    const std::u16string path = env_.MonitorUiPath();
    std::vector<std::uint8_t> small(10, 0xAB);
    EXPECT_EQ(Run(u"MonitorUI", {}, 0, small), 122u);
    EXPECT_EQ(needed_, (path.size() + 1) * 2);
    EXPECT_EQ(small, std::vector<std::uint8_t>(10, 0xAB)) << "nothing written into a short buffer";

    std::vector<std::uint8_t> output(needed_, 0xAB);
    ASSERT_EQ(Run(u"MonitorUI", {}, 0, output), 0u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(output.data())), path);
}

TEST_F(XcvCommands, GetConfigNeedsAWholeRecordBuffer) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    std::vector<std::uint8_t> small(1000, 0xAB);
    EXPECT_EQ(Run(u"GetConfig", Utf16Input(u"P"), 0, small), 122u);
    EXPECT_EQ(needed_, 43016u);
    EXPECT_EQ(small, std::vector<std::uint8_t>(1000, 0xAB));

    std::vector<std::uint8_t> output(43016 + 8, 0xAB);
    ASSERT_EQ(Run(u"GetConfig", Utf16Input(u"P"), 0, output), 0u);
    PortConfigRecord record;
    std::memcpy(&record, output.data(), sizeof record);
    PortConfigRecord expected = MakeDefaultPortConfig();
    SetSlotText(expected, ConfigSlot::kPortName, u"P");
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
    EXPECT_EQ(output[43016], 0xAB) << "nothing past the record";

    EXPECT_EQ(Run(u"GetConfig", Utf16Input(u"Nope"), 0, output), 87u);
}

TEST_F(XcvCommands, GetConfigGivesThePasswordOnlyToAdministrators) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    env_.store.SetStringValue(u"Ports\\P", u"Password", u"my secret");
    env_.store.SetStringValue(u"Ports\\P", u"Username", u"office");
    std::vector<std::uint8_t> output(43016);
    PortConfigRecord record;
    ASSERT_EQ(Run(u"GetConfig", Utf16Input(u"P"), 0, output), 0u);
    std::memcpy(&record, output.data(), sizeof record);
    EXPECT_EQ(SlotText(record, ConfigSlot::kPassword), u"");
    EXPECT_EQ(SlotText(record, ConfigSlot::kUsername), u"office");
    const auto* slot =
        reinterpret_cast<const std::uint8_t*>(record.slots[static_cast<std::size_t>(ConfigSlot::kPassword)]);
    EXPECT_TRUE(std::all_of(slot, slot + sizeof record.slots[0], [](std::uint8_t b) { return b == 0; }))
        << "no trace of the password in the slot";

    ASSERT_EQ(Run(u"GetConfig", Utf16Input(u"P"), kAdministerAccess, output), 0u);
    std::memcpy(&record, output.data(), sizeof record);
    EXPECT_EQ(SlotText(record, ConfigSlot::kPassword), u"my secret");
}

TEST_F(XcvCommands, SetConfigWritesAValidRecordIntoAnExistingPort) {
    EXPECT_EQ(Run(u"SetConfig", ValidRecord(u"P")), 87u) << "the port must exist";
    ASSERT_EQ(AddPort(u"P"), 0u);
    ASSERT_EQ(Run(u"SetConfig", ValidRecord(u"P")), 0u);
    EXPECT_EQ(env_.store.Value(u"Ports\\P", u"Server"), u"10.0.0.9");
    EXPECT_EQ(env_.store.ValueCount(u"Ports\\P"), 20u);
}

TEST_F(XcvCommands, SetConfigRefusesMalformedRecords) {
    ASSERT_EQ(AddPort(u"P"), 0u);
    std::vector<std::uint8_t> record = ValidRecord(u"P");
    std::vector<std::uint8_t> wrongSize = record;
    wrongSize[0] = 0x07;  // 43015
    EXPECT_EQ(Run(u"SetConfig", wrongSize), 87u);
    std::vector<std::uint8_t> truncated(record.begin(), record.end() - 1);
    EXPECT_EQ(Run(u"SetConfig", truncated), 87u);
    std::vector<std::uint8_t> reserved = record;
    reserved[4] = 1;
    EXPECT_EQ(Run(u"SetConfig", reserved), 87u);
    EXPECT_EQ(env_.store.ValueCount(u"Ports\\P"), 1u) << "nothing written";
}

TEST_F(XcvCommands, CommandNamesMatchExactly) {
    EXPECT_EQ(Run(u"addport", Utf16Input(u"P")), 87u);
    EXPECT_EQ(Run(u"Unknown", {}), 87u);
    EXPECT_FALSE(env_.store.HasKey(u"Ports\\P"));
}

}  // namespace
}  // namespace tolvane
