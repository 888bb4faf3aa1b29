// Korrim.exe turns the nine request texts from the pipe into what its form
// shows. Fields, separated by NUL, are the nine requests, each byte one UTF-16
// unit (the numbers that matter are ASCII; the rest only has to be refused).
#include <string>

#include "common/send_fax_form/fax_request.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

// A second reading of "an optional sign and decimal digits in the signed
// 32-bit range", by comparing digit strings rather than by arithmetic.
std::optional<int> Reference(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::string digits;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        if (digits.empty() && c == u'0') continue;
        digits.push_back(static_cast<char>(c));
    }
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) return std::nullopt;
    const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    FaxRequests requests;
    for (std::u16string* request : requests.InOrder()) *request = fuzz::WidenBytes(input.Field());

    for (const std::u16string* request : requests.InOrder()) {
        Require(ParseInteger(*request) == fuzz::Reference(*request), "an integer reads as its digits say");
    }
    const FormRequest form = ReadFormRequest(requests);
    Require(form.addressBookFolder == requests.addressBookFolder && form.documentName == requests.documentName &&
                form.sender == requests.sender && form.notifyEmail == requests.notifyEmail,
            "texts pass unchanged");
    Require(form.confirmationWanted == (requests.confirmation == u"1"), "a confirmation only for exactly \"1\"");
    return 0;
}
