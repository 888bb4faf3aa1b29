#pragma once
// The send-fax form's header picture: the JPEG resource decoded into a 24-bit
// top-down DIB section for an SS_BITMAP static.

#include <windows.h>

namespace tolvane {

// The bitmap of the JPEG resource IDR_HEADER_JPEG of `resources` (or, when it
// has none, of the program file); null when there is none or it cannot be
// decoded. The caller deletes it.
HBITMAP LoadHeaderPicture(HINSTANCE resources);

}  // namespace tolvane
