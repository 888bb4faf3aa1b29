#include "recipient/language_module.h"

namespace tolvane {

std::vector<std::u16string> LanguageModuleCandidates(const std::u16string& programPath,
                                                     const std::u16string& languageAbbreviation) {
    const auto dot = programPath.rfind(u'.');
    if (dot == std::u16string::npos || languageAbbreviation.empty()) return {};
    const std::u16string stem = programPath.substr(0, dot + 1);
    std::vector<std::u16string> candidates{stem + languageAbbreviation};
    if (languageAbbreviation.size() > 2) candidates.push_back(stem + languageAbbreviation.substr(0, 2));
    return candidates;
}

}  // namespace tolvane
