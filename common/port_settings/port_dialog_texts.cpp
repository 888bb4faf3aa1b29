#include "common/port_settings/port_dialog_texts.h"

#include <utility>

#include "common/language/language_ini.h"

namespace tolvane {
namespace {

// The "EN" section of Language.ini for these keys, as written there (a native
// test holds the two together).
constexpr std::pair<std::u16string_view, std::u16string_view> kEnglish[] = {
    {u"CONFIG_TITLE", u"Fax port settings"},
    {u"CONFIG_IDC_STATIC_PORT", u"Port:"},
    {u"CONFIG_IDC_BTN_ADD", u"Add"},
    {u"CONFIG_IDC_BTN_DELETE", u"Del"},
    {u"CONFIG_IDC_ADDPRINTER", u"Add printer"},
    {u"CONFIG_IDC_DELETEPRINTER", u"Remove printer"},
    {u"CONFIG_IDC_STATIC_IP", u"Fax server:"},
    {u"CONFIG_IDC_CHECK_IGNORE", u"Ignore PASV IP"},
    {u"CONFIG_IDC_STATIC_USER", u"User name:"},
    {u"CONFIG_IDC_STATIC_PWD", u"Password:"},
    {u"CONFIG_IDC_STATIC_SENDER", u"Sender:"},
    {u"CONFIG_IDC_STATIC_ADVER", u"Advertising:"},
    {u"CONFIG_IDC_STATIC_STYLE", u"Address book:"},
    {u"CONFIG_IDC_STATIC_DIR", u"Book folder:"},
    {u"CONFIG_IDC_STATIC_SYSTEM", u"System mode:"},
    {u"CONFIG_IDC_STATIC_LINE", u"Line:"},
    {u"CONFIG_IDC_STATIC_PAGESIZE", u"Page size:"},
    {u"CONFIG_IDC_STATIC_RESOLUTION", u"Resolution:"},
    {u"CONFIG_IDC_STATIC_MAXDIALS", u"Max. dials:"},
    {u"CONFIG_IDC_STATIC_MAXTRIES", u"Max. tries:"},
    {u"CONFIG_IDC_STATIC_PRIORITY", u"Priority:"},
    {u"CONFIG_IDC_STATIC_VALIDITY", u"Valid for:"},
    {u"CONFIG_IDC_CHECK_PROMPT", u"Confirm jobs"},
    {u"CONFIG_IDC_STATIC_EMAIL", u"E-mail:"},
    {u"CONFIG_IDC_STATIC_SYSACCOUNT", u"Program runs as %s, session user %s"},
    {u"CONFIG_IDOK", u"OK"},
    {u"CONFIG_IDCANCEL", u"Cancel"},
    {u"CONFIG_IDC_WARNING", u"There is no port. Add a port first."},
    {u"CONFIG_IDC_COMFIRM", u"Delete the port "},
    {u"CONFIG_IDC_DELETE_SUCCESS", u"The port is deleted."},
    {u"CONFIG_IDC_DELETE_FAIL", u"The port could not be deleted. Remove its printer first."},
    {u"CONFIG_IDC_DIR_NEXIST", u"The address book folder does not exist."},
    {u"CONFIG_IDC_ADDPRINTERSUCCESS", u"The printer of the port is added."},
    {u"CONFIG_IDC_ADDPRINTERFAIL", u"The printer of the port could not be added."},
    {u"CONFIG_IDC_DELETEPRINTERSUCCESS", u"The printer of the port is removed."},
    {u"CONFIG_IDC_DELETEPRINTERFAIL", u"The printer of the port could not be removed."},
    {u"ADDPORT_TITLE", u"Add port"},
    {u"ADDPORT_PORT", u"Port:"},
    {u"ADDPORT_SUCCESS", u"The port is added."},
    {u"ADDPORT_FAIL", u"The port could not be added."},
    {u"ADDPORT_EXIST", u"A port of that name exists already."},
    {u"ADDPORT_EMPTY", u"Enter a port name of one character."},
};

}  // namespace

std::u16string EnglishPortDialogText(std::u16string_view key) {
    for (const auto& [name, text] : kEnglish)
        if (name == key) return std::u16string(text);
    return std::u16string(kNoValue);
}

std::vector<std::u16string_view> PortDialogTextKeys() {
    std::vector<std::u16string_view> keys;
    for (const auto& entry : kEnglish) keys.push_back(entry.first);
    return keys;
}

}  // namespace tolvane
