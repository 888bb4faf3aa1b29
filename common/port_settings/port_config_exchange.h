#pragma once
// A port's settings as the dialog shows them, to and from the record the
// monitor's "GetConfig" and "SetConfig" commands carry: the monitor's user
// interface edits a port through the monitor, not the registry, and reads and
// writes the values by the same rules as the setup tool's store.

#include "common/port_config_record.h"
#include "common/port_settings/port_settings_store.h"

namespace tolvane {

// The dialog's settings from the record's values (the store's defaults where
// a slot is empty); `settings` keeps what the record has no value for.
void LoadSettingsFromRecord(const PortConfigRecord& record, PortSettings& settings);

// The settings written into the record's value slots (the port name slot stays).
void SaveSettingsToRecord(const PortSettings& settings, PortConfigRecord& record);

}  // namespace tolvane
