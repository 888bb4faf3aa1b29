#include "common/port_settings/port_config_exchange.h"

#include <cstring>

#include "common/port_values.h"

namespace tolvane {
namespace {

// The record's port as the one key of a registry: the store reads and writes
// it as it would the port's key under HKEY_LOCAL_MACHINE. An empty slot is a
// missing value.
class RecordKeyStore final : public KeyStore {
public:
    explicit RecordKeyStore(PortConfigRecord& record)
        : record_(record), path_(std::u16string(kSetupPortsKeyPath) + std::u16string(kPort) + u"\\") {}

    static constexpr std::u16string_view kPort = u"port";

    std::uint32_t OpenKey(const std::u16string& path, KeyAccess) override {
        return path == path_ ? win_error::kSuccess : win_error::kFileNotFound;
    }
    std::uint32_t CreateKey(const std::u16string&) override { return win_error::kAccessDenied; }
    std::uint32_t DeleteKey(const std::u16string&) override { return win_error::kAccessDenied; }
    std::uint32_t EnumSubkey(const std::u16string&, std::uint32_t, std::size_t, std::u16string&) override {
        return win_error::kNoMoreItems;
    }
    std::uint32_t QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                             std::vector<std::uint8_t>& data) override {
        const ConfigSlot* slot = Slot(path, name);
        if (slot == nullptr) return win_error::kFileNotFound;
        const std::u16string_view text = SlotText(record_, *slot);
        if (text.empty()) return win_error::kFileNotFound;
        const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
        if (bytes > maxBytes) return win_error::kMoreData;
        data.assign(bytes, 0);
        std::memcpy(data.data(), text.data(), text.size() * sizeof(char16_t));
        return win_error::kSuccess;
    }
    std::uint32_t SetStringValue(const std::u16string& path, const std::u16string& name,
                                 const std::u16string& text) override {
        const ConfigSlot* slot = Slot(path, name);
        if (slot == nullptr) return win_error::kFileNotFound;
        SetSlotText(record_, *slot, text);
        return win_error::kSuccess;
    }
    std::uint32_t DeleteValue(const std::u16string& path, const std::u16string& name) override {
        return SetStringValue(path, name, u"");
    }
    std::uint32_t RestrictToAdministrators(const std::u16string&) override { return win_error::kSuccess; }

private:
    const ConfigSlot* Slot(const std::u16string& path, const std::u16string& name) const {
        if (path != path_) return nullptr;
        for (const ConfigSlot& slot : ConfigValueSlots())
            if (ConfigSlotValueName(slot) == name) return &slot;
        return nullptr;
    }

    PortConfigRecord& record_;
    std::u16string path_;
};

}  // namespace

void LoadSettingsFromRecord(const PortConfigRecord& record, PortSettings& settings) {
    PortConfigRecord copy = record;
    RecordKeyStore registry(copy);
    PortSettingsStore(registry).LoadPortSettings(std::u16string(RecordKeyStore::kPort), settings);
}

void SaveSettingsToRecord(const PortSettings& settings, PortConfigRecord& record) {
    RecordKeyStore registry(record);
    PortSettingsStore(registry).SavePortSettings(std::u16string(RecordKeyStore::kPort), settings);
}

}  // namespace tolvane
