#pragma once
// The texts of the port dialogs: one Language.ini key each (the CONFIG_ and
// ADDPORT_ keys), looked up through a function the caller gives, and the
// English texts a dialog shows when no Language.ini is at hand.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// A key's text in the language the dialog shows.
using PortDialogText = std::function<std::u16string(std::u16string_view key)>;

// The English text of a CONFIG_ or ADDPORT_ key; "NOVALUE" for any other key.
std::u16string EnglishPortDialogText(std::u16string_view key);

// Every key the port dialogs use.
std::vector<std::u16string_view> PortDialogTextKeys();

}  // namespace tolvane
