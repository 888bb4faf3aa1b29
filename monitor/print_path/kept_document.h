#pragma once
// Where a fax that did not leave is kept: a folder "Unsent faxes" in the
// printing user's profile, which that user can open (the spooler's temporary
// folder is not theirs), under a name they recognise.

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::u16string_view kKeptDocumentsFolder = u"Unsent faxes";

// "<document name> (job N).ps": the characters a file name cannot hold (and
// control characters) become "_", and the document name is cut to a length
// every file system takes. `attempt` 2 and later add " 2", " 3" ... for a
// name that is taken.
std::u16string KeptDocumentFileName(std::u16string_view documentName, std::uint32_t jobId, unsigned attempt = 1);

}  // namespace tolvane
