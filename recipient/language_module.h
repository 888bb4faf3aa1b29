#pragma once
// Korrim.exe takes its dialog layouts and strings from a resource-only module
// beside it when one exists for the system's language: the program's path with
// the extension after the last "." replaced by the locale's abbreviated
// language name ("Korrim.ENU"), then by its first two letters ("Korrim.EN").

#include <string>
#include <vector>

namespace tolvane {

// The module paths to try, in order; none when the path has no "." or the
// language name is empty.
std::vector<std::u16string> LanguageModuleCandidates(const std::u16string& programPath,
                                                     const std::u16string& languageAbbreviation);

}  // namespace tolvane
