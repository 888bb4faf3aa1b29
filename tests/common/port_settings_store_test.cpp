#include "common/port_settings/port_settings_store.h"

#include <gtest/gtest.h>

#include "common/port_values.h"
#include "tests/support/memory_key_store.h"

namespace tolvane {
namespace {

const std::u16string kPorts = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\";

class PortSettingsStoreTest : public ::testing::Test {
protected:
    PortSettingsStoreTest() : store_(registry_) {}

    void MakePort(const std::u16string& port) { registry_.CreateKey(kPorts + port); }
    std::optional<std::u16string> Stored(const std::u16string& port, const std::u16string& name) {
        return registry_.Value(kPorts + port, name);
    }
    PortSettings Load(const std::u16string& port) {
        PortSettings settings;
        store_.LoadPortSettings(port, settings);
        return settings;
    }

    testing::MemoryKeyStore registry_;
    PortSettingsStore store_;
};

TEST_F(PortSettingsStoreTest, EnumeratesPortsInRegistryOrder) {
    EXPECT_TRUE(store_.EnumeratePorts().empty()) << "no ports key yet";
    MakePort(u"P");
    MakePort(u"2");
    MakePort(u"A");
    EXPECT_EQ(store_.EnumeratePorts(), (std::vector<std::u16string>{u"P", u"2", u"A"}));
}

TEST_F(PortSettingsStoreTest, AnEmptyPortShowsTheToolsDefaults) {
    MakePort(u"P");
    const PortSettings settings = Load(u"P");
    EXPECT_EQ(settings.server, kDefaultServer);
    EXPECT_FALSE(settings.ignorePassiveIp);
    EXPECT_EQ(settings.username, u"user");
    EXPECT_EQ(settings.password, u"580317");
    EXPECT_EQ(settings.sender, u"fax");
    EXPECT_EQ(settings.advertising, u"FAX");
    EXPECT_EQ(settings.addressBookPath, u"c:\\tiff");
    EXPECT_EQ(settings.defaultEmail, u" ");
    EXPECT_TRUE(settings.confirm);
    EXPECT_EQ(settings.Selected(PortList::kAddressBookType), 0);  // "Two Text Files"
    EXPECT_EQ(settings.Selected(PortList::kSysMode), 1);          // "Vista/TerminalServer"
    EXPECT_EQ(settings.Selected(PortList::kModem), 0);            // "Any"
    EXPECT_EQ(settings.Selected(PortList::kPageSize), 1);         // "A4"
    EXPECT_EQ(settings.Selected(PortList::kResolution), 1);       // "Fine"
    EXPECT_EQ(settings.Selected(PortList::kMaxDials), 2);         // three dials
    EXPECT_EQ(settings.Selected(PortList::kMaxTries), 1);         // two tries
    EXPECT_EQ(settings.Selected(PortList::kPriority), 1);         // "Normal"
    EXPECT_EQ(settings.Selected(PortList::kValidity), 0);         // "3 hours"
    EXPECT_EQ(PortListEntries(PortList::kResolution)[2], u"SupperFine");
}

TEST_F(PortSettingsStoreTest, SavingWritesAllTwentyValuesAndLoadsBackTheSame) {
    MakePort(u"P");
    PortSettings settings = Load(u"P");
    settings.server = u"fax.example.net";
    settings.ignorePassiveIp = true;
    settings.Selected(PortList::kValidity) = 4;
    settings.confirm = false;
    store_.SavePortSettings(u"P", settings);
    EXPECT_EQ(registry_.ValueCount(kPorts + u"P"), 20u);
    EXPECT_EQ(Stored(u"P", u"Validity"), u"4");
    EXPECT_EQ(Stored(u"P", u"Confirm"), u"0");
    EXPECT_EQ(Stored(u"P", u"IgnorePassiveIP"), u"1");
    EXPECT_EQ(Stored(u"P", u"MaxDials"), u"2") << "the code, never the count";
    EXPECT_EQ(Stored(u"P", u"Description"), u"Tolvane Port");
    EXPECT_EQ(Stored(u"P", u"NotificationType"), u" ");

    const PortSettings back = Load(u"P");
    EXPECT_EQ(back.server, u"fax.example.net");
    EXPECT_TRUE(back.ignorePassiveIp);
    EXPECT_FALSE(back.confirm);
    EXPECT_EQ(back.selection, settings.selection);
}

TEST_F(PortSettingsStoreTest, AnEmptiedTextIsDeletedAndComesBackAsTheDefault) {
    MakePort(u"P");
    PortSettings settings = Load(u"P");
    settings.defaultEmail.clear();
    store_.SavePortSettings(u"P", settings);
    EXPECT_FALSE(Stored(u"P", u"DefaultEmail").has_value());
    EXPECT_EQ(registry_.ValueCount(kPorts + u"P"), 19u);
    EXPECT_EQ(Load(u"P").defaultEmail, u" ");
}

TEST_F(PortSettingsStoreTest, ListCodesAreReadLikeAtoiAndOutOfRangeMeansNoSelection) {
    MakePort(u"P");
    store_.WritePortValue(u"P", u"Priority", u"abc");
    store_.WritePortValue(u"P", u"Resolution", u"2 (SupperFine)");
    store_.WritePortValue(u"P", u"Modem", u"9");
    store_.WritePortValue(u"P", u"Validity", u"-3");
    PortSettings settings = Load(u"P");
    EXPECT_EQ(settings.Selected(PortList::kPriority), 0) << "no digits: the first entry";
    EXPECT_EQ(settings.Selected(PortList::kResolution), 2);
    EXPECT_EQ(settings.Selected(PortList::kModem), kNoSelection);
    EXPECT_EQ(settings.Selected(PortList::kValidity), kNoSelection);
    store_.SavePortSettings(u"P", settings);
    EXPECT_EQ(Stored(u"P", u"Modem"), u"-1");
}

TEST_F(PortSettingsStoreTest, LongTextsSurviveALoadAndASave) {
    MakePort(u"P");
    const std::u16string advertising(1023, u'a');
    ASSERT_TRUE(store_.WritePortValue(u"P", u"Advertising", advertising));
    ASSERT_TRUE(store_.WritePortValue(u"P", u"Sender", std::u16string(200, u's')));
    PortSettings settings = Load(u"P");
    EXPECT_EQ(settings.advertising, advertising);
    EXPECT_EQ(settings.sender, std::u16string(200, u's'));
    store_.SavePortSettings(u"P", settings);
    EXPECT_EQ(Stored(u"P", u"Advertising"), advertising);
}

TEST_F(PortSettingsStoreTest, AMissingIgnorePassiveValueKeepsTheCheckBoxAsItWas) {
    MakePort(u"P");
    MakePort(u"Q");
    store_.WritePortValue(u"P", u"IgnorePassiveIP", u"1");
    PortSettings settings;
    store_.LoadPortSettings(u"P", settings);
    ASSERT_TRUE(settings.ignorePassiveIp);
    store_.LoadPortSettings(u"Q", settings);
    EXPECT_TRUE(settings.ignorePassiveIp) << "the state of the port shown before";
}

TEST_F(PortSettingsStoreTest, WritesNeverCreateKeysAndFailQuietlyOnAMissingPort) {
    EXPECT_FALSE(store_.WritePortValue(u"Gone", u"Server", u"x"));
    store_.SavePortSettings(u"Gone", Load(u"Gone"));
    EXPECT_FALSE(registry_.HasKey(kPorts + u"Gone"));
    MakePort(u"P");
    registry_.DenyAccess(kPorts + u"P", KeyAccess::kWrite);
    EXPECT_FALSE(store_.WritePortValue(u"P", u"Server", u"x"));
    EXPECT_FALSE(store_.WritePortValue(u"P", u"Sender", u"")) << "deleting needs write access too";
}

TEST_F(PortSettingsStoreTest, PrinterOfAPort) { EXPECT_EQ(PortPrinterName(u"2"), u"Tolvane_2"); }

}  // namespace
}  // namespace tolvane
