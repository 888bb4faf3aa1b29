#include "common/port_settings/port_settings_store.h"

#include "common/port_values.h"
#include "common/text.h"

namespace tolvane {
namespace {

// Subkey names the ports enumeration accepts (the registry's own key name limit
// is longer; the setup tool's buffers are not).
constexpr std::size_t kListedPortNameMaxChars = 259;

std::u16string PortKeyPath(const std::u16string& port) { return std::u16string(kSetupPortsKeyPath) + port + u"\\"; }

struct ListValue {
    PortList list;
    std::u16string_view name;
    int defaultCode;
};

// Lists in the order they are loaded and saved, with the tool's default codes.
constexpr ListValue kListValues[] = {
    {PortList::kAddressBookType, value::kAddressBookType, 0},
    {PortList::kSysMode, value::kSysMode, 1},
    {PortList::kModem, value::kModem, 0},
    {PortList::kPageSize, value::kPageSize, 1},
    {PortList::kResolution, value::kResolution, 1},
    {PortList::kMaxDials, value::kMaxDials, 2},
    {PortList::kMaxTries, value::kMaxTries, 1},
    {PortList::kPriority, value::kPriority, 1},
    {PortList::kValidity, value::kValidity, 0},
};

// A stored code selects the entry at that position; a code outside the list
// leaves the list without a selection, as the dialog's list box does.
int SelectionFromCode(PortList list, int code) {
    const int count = static_cast<int>(PortListEntries(list).size());
    return code >= 0 && code < count ? code : kNoSelection;
}

}  // namespace

const std::vector<std::u16string>& PortListEntries(PortList list) {
    static const std::array<std::vector<std::u16string>, kPortListCount> kEntries = {{
        {u"Two Text Files", u"CSV"},
        {u"XP/2000", u"Vista/TerminalServer", u"Reserved"},
        {u"Any", u"FAX1", u"FAX2", u"FAX3", u"FAX4"},
        {u"US Letter", u"A4"},
        {u"Standard", u"Fine", u"SupperFine"},
        {u"1", u"2", u"3", u"4", u"5", u"6"},
        {u"1", u"2", u"3", u"4", u"5", u"6"},
        {u"Low", u"Normal", u"High"},
        {u"3 hours", u"6 hours", u"12 hours", u"24 hours", u"48 hours"},
    }};
    return kEntries[static_cast<std::size_t>(list)];
}

std::vector<std::u16string> PortSettingsStore::EnumeratePorts() const {
    return EnumerateSubkeys(registry_, std::u16string(kSetupPortsKeyPath), kListedPortNameMaxChars);
}

bool PortSettingsStore::ReadPortValue(const std::u16string& port, std::u16string_view name,
                                      std::u16string& text) const {
    const std::u16string path = PortKeyPath(port);
    if (registry_.OpenKey(path, KeyAccess::kRead) != win_error::kSuccess) return false;
    return ReadStringValue(registry_, path, std::u16string(name), kPortValueMaxChars, text);
}

bool PortSettingsStore::WritePortValue(const std::u16string& port, std::u16string_view name,
                                       const std::u16string& text) {
    const std::u16string path = PortKeyPath(port);
    if (registry_.OpenKey(path, KeyAccess::kWrite) != win_error::kSuccess) return false;
    if (text.empty()) return registry_.DeleteValue(path, std::u16string(name)) == win_error::kSuccess;
    return registry_.SetStringValue(path, std::u16string(name), text) == win_error::kSuccess;
}

void PortSettingsStore::LoadPortSettings(const std::u16string& port, PortSettings& settings) const {
    auto text = [&](std::u16string_view name, std::u16string& field, std::u16string_view fallback) {
        if (!ReadPortValue(port, name, field)) field = std::u16string(fallback);
    };
    auto code = [&](std::u16string_view name, int fallback) {
        std::u16string stored;
        return ReadPortValue(port, name, stored) ? ParseLeadingInt(stored) : fallback;
    };

    text(value::kServer, settings.server, kDefaultServer);
    std::u16string ignorePassive;
    if (ReadPortValue(port, value::kIgnorePassiveIp, ignorePassive))
        settings.ignorePassiveIp = ParseLeadingInt(ignorePassive) != 0;
    text(value::kUsername, settings.username, u"user");
    text(value::kPassword, settings.password, u"580317");
    text(value::kSender, settings.sender, u"fax");
    text(value::kAdvertising, settings.advertising, u"FAX");
    for (const ListValue& entry : kListValues) {
        settings.Selected(entry.list) = SelectionFromCode(entry.list, code(entry.name, entry.defaultCode));
        // The address-book folder sits between the first two lists in the load order.
        if (entry.list == PortList::kAddressBookType)
            text(value::kAddressBookPath, settings.addressBookPath, u"c:\\tiff");
    }
    settings.confirm = code(value::kConfirm, 1) != 0;
    text(value::kDefaultEmail, settings.defaultEmail, u" ");
}

void PortSettingsStore::SavePortSettings(const std::u16string& port, const PortSettings& settings) {
    auto write = [&](std::u16string_view name, const std::u16string& text) { WritePortValue(port, name, text); };
    auto flag = [](bool set) { return FormatDecimal(set ? 1 : 0); };

    write(value::kServer, settings.server);
    write(value::kIgnorePassiveIp, flag(settings.ignorePassiveIp));
    write(value::kUsername, settings.username);
    write(value::kPassword, settings.password);
    write(value::kSender, settings.sender);
    write(value::kAdvertising, settings.advertising);
    for (const ListValue& entry : kListValues) {
        write(entry.name, FormatDecimal(settings.Selected(entry.list)));
        if (entry.list == PortList::kAddressBookType) write(value::kAddressBookPath, settings.addressBookPath);
    }
    write(value::kConfirm, flag(settings.confirm));
    write(value::kDefaultEmail, settings.defaultEmail);
    write(value::kDescription, std::u16string(kPortDescription));
    write(value::kNotificationType, u" ");
}

std::u16string PortPrinterName(const std::u16string& port) { return u"Tolvane_" + port; }

}  // namespace tolvane
