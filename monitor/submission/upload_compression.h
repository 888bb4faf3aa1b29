#pragma once
// Whether a document is uploaded compressed ("MODE Z") or as it is ("MODE S").
//
// By default (kAuto) every upload asks for compression, and the level then
// follows the link and the document block by block (compression_level.h): on a
// slow link as much as pays, on a fast one (loopback included) plain stored
// blocks, which cost no more than sending the document as it is. A server that
// refuses "MODE Z" gets the document as it is.
//
// The port's registry value "UploadCompression" overrides the choice: "Off"
// never asks for compression (for a server whose compression is broken, or
// to compare); "On", "Auto", an empty or missing value, or any other text
// keep the default.

#include <string_view>

namespace tolvane {

enum class UploadCompression { kAuto, kOff };

// The value's text, case-insensitive; anything but "Off" is kAuto.
UploadCompression ParseUploadCompression(std::u16string_view text);

}  // namespace tolvane
