#include "common/send_fax_form/fax_request.h"

#include <cstdint>

namespace tolvane {

std::optional<int> ParseInteger(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::int64_t{2147483648}) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647) return std::nullopt;
    return static_cast<int>(value);
}

FormRequest ReadFormRequest(const FaxRequests& requests) {
    FormRequest form;
    form.addressBookType = ParseInteger(requests.addressBookType).value_or(kDefaultAddressBookType);
    form.addressBookFolder = requests.addressBookFolder;
    form.documentName = requests.documentName;
    form.lineIndex = ParseInteger(requests.line).value_or(kDefaultLineIndex);
    form.sender = requests.sender;
    form.resolutionIndex = ParseInteger(requests.resolution).value_or(kDefaultResolutionIndex);
    form.priorityIndex = ParseInteger(requests.priority).value_or(kDefaultPriorityIndex);
    form.notifyEmail = requests.notifyEmail;
    form.confirmationWanted = requests.confirmation == kConfirmationWanted;
    return form;
}

}  // namespace tolvane
