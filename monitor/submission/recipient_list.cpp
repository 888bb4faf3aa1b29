#include "monitor/submission/recipient_list.h"

namespace tolvane {

namespace {

std::string NameOrDot(std::string_view name) { return name.empty() ? std::string(".") : std::string(name); }

bool Blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

std::vector<FaxRecipient> ParseRecipients(std::string_view recipients, std::string_view defaultName) {
    std::vector<FaxRecipient> result;
    std::string current = NameOrDot(defaultName);
    std::size_t start = 0;
    while (start <= recipients.size()) {
        std::size_t end = recipients.find(';', start);
        if (end == std::string_view::npos) end = recipients.size();
        std::string_view entry = recipients.substr(start, end - start);
        std::string_view number = entry;
        const std::size_t at = entry.find('@');
        if (at != std::string_view::npos) {
            current = NameOrDot(entry.substr(0, at));
            number = entry.substr(at + 1);
        }
        if (!Blank(number)) result.push_back({current, std::string(number)});
        start = end + 1;
    }
    return result;
}

}  // namespace tolvane
