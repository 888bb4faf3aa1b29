#include "common/language/notice_text.h"

namespace tolvane {

std::u16string FormatNotice(std::u16string_view pattern, const std::array<std::u16string_view, 3>& texts) {
    return FormatTextPattern(pattern, texts);
}

std::u16string FormatTextPattern(std::u16string_view pattern, std::span<const std::u16string_view> texts) {
    std::u16string out;
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char16_t c = pattern[i];
        if (c != u'%') {
            out += c;
            ++i;
            continue;
        }
        const std::u16string_view rest = pattern.substr(i + 1);
        if (!rest.empty() && rest[0] == u'%') {
            out += u'%';
            i += 2;
            continue;
        }
        std::size_t directive = 0;  // characters after the "%" that make a string directive
        if (!rest.empty() && (rest[0] == u's' || rest[0] == u'S')) {
            directive = 1;
        } else if (rest.size() >= 2 && (rest[0] == u'l' || rest[0] == u'w') && rest[1] == u's') {
            directive = 2;
        }
        if (directive != 0 && used < texts.size()) {
            out += texts[used++];
            i += 1 + directive;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

std::u16string ExpandWrittenLineBreaks(std::u16string_view text) {
    constexpr std::u16string_view kWritten = u"\\r\\n";
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(kWritten); at != std::u16string_view::npos; at = text.find(kWritten, from)) {
        out.append(text.substr(from, at - from));
        out += u"\r\n";
        from = at + kWritten.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace tolvane
