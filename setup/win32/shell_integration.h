#pragma once
// What the setup tool leaves in the user's shell and profile: the Start-menu
// shortcut to its installed copy, the program-compatibility mark, and the
// remembered language in Setting.ini.

#include <string>
#include <string_view>

namespace tolvane {

// The all-users Start-menu "Programs" folder (created when missing); empty
// when the shell cannot name it.
std::u16string CommonProgramsFolder();

// A shell link at `link` that starts `target` in `workingFolder`. False when
// the shell link object or its file interface cannot be had, or saving fails.
bool CreateShortcut(std::u16string_view target, std::u16string_view workingFolder, std::u16string_view link);

// Marks the program as one the Program Compatibility Assistant has already
// dealt with (a DWORD 1 named by its full path under the assistant's
// "Persisted" key of the current user, which is not created here). Whether the
// value was set.
bool MarkCompatibilityPersisted(std::u16string_view programPath);

// The "DefLanguage" value of section "Set" in `settingsFile`, or "EN" when the
// file or value is missing.
std::u16string ReadDefaultLanguage(std::u16string_view settingsFile);

// Stores `section` as "DefLanguage". A new file is begun as UTF-16LE text, so
// that the profile functions keep writing it in UTF-16 and any language
// name survives. Whether it was written.
bool WriteDefaultLanguage(std::u16string_view settingsFile, std::u16string_view section);

}  // namespace tolvane
