#include "common/port_settings/port_dialog_rules.h"

#include <array>

#include "common/language/language_ini.h"
#include "common/language/notice_text.h"
#include "common/letter_case.h"
#include "common/port_values.h"

namespace tolvane {

PortSettings PortDialogOpeningSettings() {
    PortSettings settings;
    settings.Selected(PortList::kValidity) = 0;
    settings.Selected(PortList::kAddressBookType) = 0;
    settings.Selected(PortList::kResolution) = 1;
    settings.Selected(PortList::kPriority) = 1;
    settings.Selected(PortList::kPageSize) = 1;
    settings.Selected(PortList::kMaxTries) = 1;
    settings.Selected(PortList::kMaxDials) = 2;
    settings.Selected(PortList::kModem) = 0;
    settings.Selected(PortList::kSysMode) = 1;
    settings.confirm = true;
    return settings;
}

SaveVerdict JudgeSave(std::u16string_view port, std::u16string_view addressBookFolder,
                      const std::function<bool(std::u16string_view)>& folderExists) {
    if (port.empty()) return SaveVerdict::kNoPort;
    if (!addressBookFolder.empty() && !folderExists(addressBookFolder)) return SaveVerdict::kFolderMissing;
    return SaveVerdict::kSave;
}

NewPort JudgeNewPortName(std::u16string_view typed, const std::vector<std::u16string>& existingPorts) {
    NewPort port{NewPortVerdict::kAdd, {}};
    for (char16_t c : typed)
        if (c != u' ') port.name += c;
    if (port.name.empty()) {
        port.verdict = NewPortVerdict::kEmpty;
    } else if (!IsUsablePortKeyName(port.name) || port.name.size() > kPortNameMaxChars) {
        port.verdict = NewPortVerdict::kRefused;
    } else {
        for (const std::u16string& existing : existingPorts) {
            if (EqualsIgnoringCase(existing, port.name)) {
                port.verdict = NewPortVerdict::kExists;
                break;
            }
        }
    }
    return port;
}

std::u16string FormatAccountLine(std::u16string_view pattern, std::u16string_view account,
                                 std::u16string_view sessionUser) {
    const std::array<std::u16string_view, 2> texts{account, sessionUser};
    return CutText(FormatTextPattern(pattern, texts), kLanguageTextMaxChars);
}

}  // namespace tolvane
