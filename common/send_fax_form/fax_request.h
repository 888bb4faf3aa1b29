#pragma once
// How Korrim.exe reads the request texts of the conversation into the values
// the send-fax form shows.

#include <optional>
#include <string>
#include <string_view>

#include "common/pipe_conversation.h"

namespace tolvane {

// Address-book storage types (request 1).
inline constexpr int kAddressBookTextFiles = 0;
inline constexpr int kAddressBookCsvFile = 1;

// Defaults for requests that are not integers.
inline constexpr int kDefaultAddressBookType = kAddressBookCsvFile;
inline constexpr int kDefaultLineIndex = 0;        // "Any"
inline constexpr int kDefaultResolutionIndex = 1;  // "Fine"
inline constexpr int kDefaultPriorityIndex = 1;    // "Normal"

// A whole text that is a decimal integer in the signed 32-bit range: an
// optional sign and digits, nothing else (no blanks).
std::optional<int> ParseInteger(std::u16string_view text);

// The form's values from the nine requests.
struct FormRequest {
    int addressBookType = kDefaultAddressBookType;
    std::u16string addressBookFolder;  // as received; the address book normalises it
    std::u16string documentName;
    int lineIndex = kDefaultLineIndex;  // an index outside the list selects nothing
    std::u16string sender;
    int resolutionIndex = kDefaultResolutionIndex;
    int priorityIndex = kDefaultPriorityIndex;
    std::u16string notifyEmail;
    bool confirmationWanted = false;  // request 9 exactly "1"
};

FormRequest ReadFormRequest(const FaxRequests& requests);

}  // namespace tolvane
