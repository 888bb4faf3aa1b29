#include "common/conversation_pipe_name.h"

#include <atomic>

#include "common/pipe_conversation.h"

namespace tolvane {

namespace {

std::u16string Decimal(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

// Digits up to the next "-" (or the end), at least one; `at` moves past them.
bool SkipDigits(std::u16string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') ++at;
    return at > start && at - start <= 10;
}

bool IsConversationPipeName(std::u16string_view name) {
    const std::u16string prefix = std::u16string(kConversationPipePath) + u"-";
    if (name.substr(0, prefix.size()) != prefix) return false;
    std::size_t at = prefix.size();
    if (!SkipDigits(name, at) || at >= name.size() || name[at] != u'-') return false;
    ++at;
    return SkipDigits(name, at) && at == name.size();
}

}  // namespace

std::u16string NewConversationPipeName(std::uint32_t processId) {
    static std::atomic<std::uint32_t> lastNumber{0};
    const std::uint32_t number = ++lastNumber;
    return std::u16string(kConversationPipePath) + u"-" + Decimal(processId) + u"-" + Decimal(number);
}

std::optional<std::u16string> PipeNameOnCommandLine(std::u16string_view commandLine) {
    const std::u16string argument = std::u16string(kPipeArgument) + u" ";
    for (std::size_t at = commandLine.find(argument); at != std::u16string_view::npos;
         at = commandLine.find(argument, at + 1)) {
        if (at > 0 && commandLine[at - 1] != u' ') continue;  // part of a longer word
        const std::size_t start = at + argument.size();
        const std::size_t end = commandLine.find(u' ', start);
        const std::u16string_view name =
            commandLine.substr(start, end == std::u16string_view::npos ? end : end - start);
        if (IsConversationPipeName(name)) return std::u16string(name);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace tolvane
