#pragma once
// Moving a port's configuration record between the monitor's registry key and
// the PortConfigRecord the print path and the transceive commands use.

#include <string_view>

#include "common/key_store.h"
#include "common/port_config_record.h"

namespace tolvane {

// Fills `record` with the monitor defaults and the port name, then reads each
// value of "Ports\<port>" into its slot; a value that cannot be read keeps its
// default. Answers false (the record then holds all defaults) when the port's
// key cannot be opened.
bool ReadPortConfig(KeyStore& monitorKey, std::u16string_view port, PortConfigRecord& record);

// The port's "UploadCompression" text, kept beside the record's values; empty
// when the port or the value is missing.
std::u16string ReadUploadCompressionValue(KeyStore& monitorKey, std::u16string_view port);

// Writes all 20 values of the record into the port named in it. The key must
// exist: a port is created only by "AddPort". Answers false when the key cannot
// be opened for writing or a value cannot be set.
bool WritePortConfig(KeyStore& monitorKey, const PortConfigRecord& record);

// Restricts every port key to the system and the administrators (see
// KeyStore::RestrictToAdministrators), so keys made before that rule existed,
// or by hand, stop showing their password to every user. The values stay
// where they are. Answers how many keys could not be restricted.
unsigned RestrictEveryPortKey(KeyStore& monitorKey);

}  // namespace tolvane
