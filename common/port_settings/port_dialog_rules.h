#pragma once
// What the port settings dialog and its add-port dialog decide, apart from the
// windows that show it: the selections the dialog opens with, when OK may save,
// what becomes of a typed port name, and the account line.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/port_settings/port_settings_store.h"

namespace tolvane {

// The dialog's controls before a port is loaded: each list at its opening
// position (validity 0, address book 0, resolution 1, priority 1, page size 1,
// maximum tries 1, maximum dials 2, line 0, system mode 1), "confirm" checked,
// every text empty.
PortSettings PortDialogOpeningSettings();

enum class SaveVerdict {
    kNoPort,         // no port is selected: OK does nothing
    kFolderMissing,  // the address-book folder was named and does not exist
    kSave,
};

// Whether OK saves. An empty folder field is accepted; a named folder must exist.
SaveVerdict JudgeSave(std::u16string_view port, std::u16string_view addressBookFolder,
                      const std::function<bool(std::u16string_view)>& folderExists);

enum class NewPortVerdict {
    kEmpty,    // nothing left once the blanks are gone
    kRefused,  // a name the monitor would refuse or cut: a backslash, more than 7 characters
    kExists,   // an existing port's name, compared without regard to case
    kAdd,
};

struct NewPort {
    NewPortVerdict verdict;
    std::u16string name;  // the typed text without its blanks (U+0020)
};

// The add-port dialog's judgement of a typed name against the existing ports.
NewPort JudgeNewPortName(std::u16string_view typed, const std::vector<std::u16string>& existingPorts);

// The account line: the Language.ini pattern with the tool's account and the
// terminal session's user in its first two "%s", cut to 511 characters. Any
// other "%" stays as written (see FormatTextPattern).
std::u16string FormatAccountLine(std::u16string_view pattern, std::u16string_view account,
                                 std::u16string_view sessionUser);

}  // namespace tolvane
