#include "common/port_settings/port_config_exchange.h"

#include <gtest/gtest.h>

#include "common/port_settings/port_dialog_rules.h"

namespace tolvane {
namespace {

TEST(PortConfigExchange, TheMonitorsRecordLoadsAndSavesByTheStoresRules) {
    PortConfigRecord record = MakeDefaultPortConfig();
    SetSlotText(record, ConfigSlot::kPortName, u"P");
    SetSlotText(record, ConfigSlot::kServer, u"fax.example.org:4559");
    SetSlotText(record, ConfigSlot::kPassword, u"");
    SetSlotText(record, ConfigSlot::kResolution, u"2");
    SetSlotText(record, ConfigSlot::kConfirm, u"0");
    SetSlotText(record, ConfigSlot::kAddressBookPath, u"C:\\book");

    PortSettings settings = PortDialogOpeningSettings();
    LoadSettingsFromRecord(record, settings);
    EXPECT_EQ(settings.server, u"fax.example.org:4559");
    EXPECT_EQ(settings.Selected(PortList::kResolution), 2);
    EXPECT_FALSE(settings.confirm);
    EXPECT_EQ(settings.addressBookPath, u"C:\\book");
    EXPECT_EQ(settings.password, u"580317");  // an empty slot reads as absent: the store's default

    settings.server = u"10.0.0.5";
    settings.password = u"my secret";
    settings.Selected(PortList::kPriority) = 3;
    settings.addressBookPath.clear();
    SaveSettingsToRecord(settings, record);
    EXPECT_EQ(SlotText(record, ConfigSlot::kPortName), u"P");
    EXPECT_EQ(SlotText(record, ConfigSlot::kServer), u"10.0.0.5");
    EXPECT_EQ(SlotText(record, ConfigSlot::kPassword), u"my secret");
    EXPECT_EQ(SlotText(record, ConfigSlot::kPriority), u"3");
    EXPECT_EQ(SlotText(record, ConfigSlot::kConfirm), u"0");
    EXPECT_EQ(SlotText(record, ConfigSlot::kAddressBookPath), u"");
    EXPECT_EQ(SlotText(record, ConfigSlot::kDescription), u"Tolvane Port");
}

}  // namespace
}  // namespace tolvane
