#pragma once
// Names shared by every party that reads or writes a port's fax settings: the
// monitor, the setup tool and the print path. All values are REG_SZ text.

#include <cstddef>
#include <string_view>

namespace tolvane {

inline constexpr std::u16string_view kMonitorName = u"Tolvane";
inline constexpr std::u16string_view kPortDescription = u"Tolvane Port";

// The setup tool addresses the monitor's ports from HKEY_LOCAL_MACHINE through
// the control set in use ("ControlSet001" is not always that one, and Wine has
// none of that name); the monitor works relative to its own key.
inline constexpr std::u16string_view kSetupPortsKeyPath =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\";
inline constexpr std::u16string_view kMonitorPortsKey = u"Ports";

// A port name is cut to its first 7 characters wherever the monitor takes one in.
inline constexpr std::size_t kPortNameMaxChars = 7;

// Whether a name can name a key of its own under "Ports": not empty and free of
// backslashes, which would address the ports key itself or a key below another
// port.
inline bool IsUsablePortKeyName(std::u16string_view name) {
    return !name.empty() && name.find(u'\\') == std::u16string_view::npos;
}

// The fax server a port uses until someone configures it (a private address, so
// an unconfigured port never reaches out of the local network).
inline constexpr std::u16string_view kDefaultServer = u"192.168.0.250";

namespace value {
inline constexpr std::u16string_view kServer = u"Server";
inline constexpr std::u16string_view kIgnorePassiveIp = u"IgnorePassiveIP";
inline constexpr std::u16string_view kUsername = u"Username";
inline constexpr std::u16string_view kPassword = u"Password";
inline constexpr std::u16string_view kSender = u"Sender";
inline constexpr std::u16string_view kAdvertising = u"Advertising";
inline constexpr std::u16string_view kAddressBookType = u"AddressBookType";
inline constexpr std::u16string_view kAddressBookPath = u"AddressBookPath";
inline constexpr std::u16string_view kSysMode = u"SysMode";
inline constexpr std::u16string_view kModem = u"Modem";
inline constexpr std::u16string_view kPageSize = u"PageSize";
inline constexpr std::u16string_view kResolution = u"Resolution";
inline constexpr std::u16string_view kMaxDials = u"MaxDials";
inline constexpr std::u16string_view kMaxTries = u"MaxTries";
inline constexpr std::u16string_view kPriority = u"Priority";
inline constexpr std::u16string_view kValidity = u"Validity";
inline constexpr std::u16string_view kConfirm = u"Confirm";
inline constexpr std::u16string_view kDefaultEmail = u"DefaultEmail";
inline constexpr std::u16string_view kDescription = u"Description";
inline constexpr std::u16string_view kNotificationType = u"NotificationType";
// Not in the configuration record (its layout is fixed): "Auto" (or missing),
// "Off" or "On", how the monitor uploads documents to the fax server.
inline constexpr std::u16string_view kUploadCompression = u"UploadCompression";
}  // namespace value

}  // namespace tolvane
