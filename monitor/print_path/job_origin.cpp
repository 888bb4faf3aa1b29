#include "monitor/print_path/job_origin.h"

#include <algorithm>

namespace tolvane {

namespace {

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

std::u16string_view WithoutLeadingBackslashes(std::u16string_view name) {
    while (!name.empty() && name.front() == u'\\') name.remove_prefix(1);
    return name;
}

}  // namespace

bool IsFromAnotherComputer(std::u16string_view recordMachineName, std::u16string_view localComputerName) {
    const std::u16string_view machine = WithoutLeadingBackslashes(recordMachineName);
    const std::u16string_view local = WithoutLeadingBackslashes(localComputerName);
    if (machine.empty() || local.empty()) return false;  // nothing to compare: not known to be foreign
    return !std::equal(machine.begin(), machine.end(), local.begin(), local.end(),
                       [](char16_t a, char16_t b) { return FoldCase(a) == FoldCase(b); });
}

}  // namespace tolvane
