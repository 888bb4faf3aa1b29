#pragma once
// The setup tool's view of the port settings: the ports the monitor created
// under HKEY_LOCAL_MACHINE, their values one by one, and the whole set as the
// port configuration dialog shows it, with the tool's own defaults.
//
// The store never creates or deletes keys: ports come and go through the
// monitor's "AddPort" and "DeletePort" commands.

#include <array>
#include <string>
#include <vector>

#include "common/key_store.h"

namespace tolvane {

// Longest text the store reads back: what a slot of the monitor's configuration
// record holds, so every value the monitor can use survives a load and a save.
inline constexpr std::size_t kPortValueMaxChars = 1023;

// The lists of the configuration dialog; a stored code is a position in one.
enum class PortList {
    kAddressBookType,
    kSysMode,
    kModem,
    kPageSize,
    kResolution,
    kMaxDials,
    kMaxTries,
    kPriority,
    kValidity,
    kCount
};
inline constexpr std::size_t kPortListCount = static_cast<std::size_t>(PortList::kCount);

// The entry texts of a list, exactly as the dialog shows them.
const std::vector<std::u16string>& PortListEntries(PortList list);

// A list's selection: a position in its entries, or kNoSelection.
inline constexpr int kNoSelection = -1;

// Everything the configuration dialog shows for one port.
struct PortSettings {
    std::u16string server;
    bool ignorePassiveIp = false;
    std::u16string username;
    std::u16string password;
    std::u16string sender;
    std::u16string advertising;
    std::u16string addressBookPath;
    std::u16string defaultEmail;
    bool confirm = false;
    std::array<int, kPortListCount> selection{};  // by PortList

    int& Selected(PortList list) { return selection[static_cast<std::size_t>(list)]; }
    int Selected(PortList list) const { return selection[static_cast<std::size_t>(list)]; }
};

class PortSettingsStore {
public:
    // `registry` is rooted at HKEY_LOCAL_MACHINE.
    explicit PortSettingsStore(KeyStore& registry) : registry_(registry) {}

    // Port names in registry order; empty when the ports key cannot be opened.
    std::vector<std::u16string> EnumeratePorts() const;

    // The value's text when it was found and holds at most 1023 characters.
    bool ReadPortValue(const std::u16string& port, std::u16string_view name, std::u16string& text) const;

    // Writes the value into the port's existing key; an empty text deletes it.
    bool WritePortValue(const std::u16string& port, std::u16string_view name, const std::u16string& text);

    // Fills `settings` from the port's values, defaults where a value is absent.
    // A port without an IgnorePassiveIP value leaves that check box as it was.
    void LoadPortSettings(const std::u16string& port, PortSettings& settings) const;

    // Writes all twenty values; a failed write neither stops the save nor is reported.
    void SavePortSettings(const std::u16string& port, const PortSettings& settings);

private:
    KeyStore& registry_;
};

// The printer the configuration dialog creates for a port: "Tolvane_<port>".
std::u16string PortPrinterName(const std::u16string& port);

}  // namespace tolvane
