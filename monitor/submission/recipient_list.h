#pragma once
// The recipients answer: fax numbers separated by ";", each optionally preceded
// by a name and "@". A name given with "@" stays in force for the entries that
// follow without one.

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

struct FaxRecipient {
    std::string name;    // never empty: "." stands for "no name"
    std::string number;  // never empty
};

// One recipient per entry with a number, in order; entries whose number is
// empty or blank ("101;" has one) are skipped. defaultName is answer C.
std::vector<FaxRecipient> ParseRecipients(std::string_view recipients, std::string_view defaultName);

}  // namespace tolvane
