#pragma once
// A registry key that holds a secret (a port key holds the fax server's
// password): readable and writable by the local system and the
// administrators only.

#include <windows.h>

namespace tolvane {

// Gives the key `path` below `root` (and the keys it will get) a protected
// access list of two entries, the local system and the administrators, each
// with full access: nothing is inherited from its parent. Answers a Windows
// error code (ERROR_SUCCESS when the list was set).
LONG RestrictKeyToAdministrators(HKEY root, const wchar_t* path);

}  // namespace tolvane
