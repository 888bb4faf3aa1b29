#include "monitor/print_path/kept_document.h"

namespace tolvane {

namespace {

constexpr std::size_t kMaxNameChars = 100;

bool AllowedInFileName(char16_t c) {
    return c >= u' ' && std::u16string_view(u"\\/:*?\"<>|").find(c) == std::u16string_view::npos;
}

}  // namespace

std::u16string KeptDocumentFileName(std::u16string_view documentName, std::uint32_t jobId, unsigned attempt) {
    std::u16string name;
    for (char16_t c : documentName.substr(0, kMaxNameChars)) name += AllowedInFileName(c) ? c : u'_';
    // Windows drops trailing blanks and dots from a name: keep them visible.
    while (!name.empty() && (name.back() == u' ' || name.back() == u'.')) name.pop_back();
    if (name.empty()) name = u"FAX";
    const std::string job = " (job " + std::to_string(jobId) + ")" + (attempt > 1 ? " " + std::to_string(attempt) : "");
    name.append(job.begin(), job.end());
    return name + u".ps";
}

}  // namespace tolvane
