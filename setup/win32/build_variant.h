#pragma once
// Which of the two builds this program is: each executable links the one
// source file that answers (ruddock_variant.cpp or ruddset_variant.cpp).

#include "setup/win32/windows_api.h"

#include <string_view>

#include "common/language/language_ini.h"
#include "setup/setup_variant.h"

namespace tolvane {

const SetupVariant& BuildVariant();

// Opens the port settings dialog modally, its texts in the language of
// `language`, its message boxes captioned `programName`.
using PortDialogsOpener = void (*)(HWND owner, const LanguageIni& language, std::u16string_view programName);

// Ruddock's port dialogs; null in Ruddset, which has none of its own (and
// does not carry their resources).
PortDialogsOpener BuildPortDialogs();

}  // namespace tolvane
