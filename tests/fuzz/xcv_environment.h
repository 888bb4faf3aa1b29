#pragma once
// The machine as the transceive commands see it in the fuzz targets: this
// monitor's key in memory, plus ports that other monitors own.

#include <set>
#include <string>

#include "monitor/ports/port_name.h"
#include "monitor/ports/xcv_commands.h"
#include "tests/support/memory_key_store.h"

namespace tolvane::fuzz {

class MemoryXcvEnvironment final : public XcvEnvironment {
public:
    KeyStore& MonitorKey() override { return store; }
    std::uint32_t PortExistsOnMachine(const std::u16string& name, bool& exists) override {
        exists = otherPorts.count(name) > 0 || (IsUsablePortKeyName(name) && store.HasKey(PortKeyPath(name)));
        return 0;
    }
    std::u16string MonitorUiPath() override { return u"C:\\WINDOWS\\system32\\Caskelui.dll"; }

    testing::MemoryKeyStore store;
    std::set<std::u16string> otherPorts{u"LPT1:", u"FILE:"};
};

}  // namespace tolvane::fuzz
